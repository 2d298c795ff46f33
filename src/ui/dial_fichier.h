#pragma once
// "Convertir un fichier ...": a text or CSV file of points, its first lines,
// the columns, the separator and the way angles are written, then the whole
// file converted on a worker thread into a file beside it, with the command
// line's engine and messages. The dialog is modal: nothing edits the
// catalogue while the worker reads it.
#include <QDialog>
#include <QString>
#include <atomic>
#include <functional>
#include <string>

#include "catalogue/lignes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;

namespace vestrel {

class TDlgFichier : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgFichier(QWidget* parent = nullptr);
  ~TDlgFichier() override;

  // The systems and the choices of the main window, set before each showing;
  // the catalogue must outlive the run.
  void Prepare(const TDonnees& donnees, const std::string& source,
               const std::string& destination, const TOptionsLignes& options);
  // Chooses the point file (as the "Choisir ..." button does) and shows its
  // first lines.
  void ChoisitFichier(const QString& chemin);
  // The reading choices as the controls show them.
  TOptionsLignes Options() const;
  bool EnCours() const { return travail_ != nullptr; }

  QLineEdit* EditFichier;
  QPushButton* ButtonChoisir;
  QPlainTextEdit* Apercu;
  QSpinBox* SpinId;
  QSpinBox* SpinX;
  QSpinBox* SpinY;
  QSpinBox* SpinFuseau;
  QComboBox* ComboSeparateur;
  QComboBox* ComboAngles;
  QCheckBox* CheckVirgule;
  QCheckBox* CheckDetails;
  QLineEdit* EditResultat;
  QProgressBar* Progression;
  QPlainTextEdit* Bilan;
  QPushButton* ButtonConvertir;
  QPushButton* ButtonAnnuler;
  QPushButton* ButtonFermer;

 signals:
  // The run ended (finished, cancelled or failed) and the summary is shown.
  void Termine();

 public slots:
  void reject() override;

 private:
  void Choisir();
  void Lance();
  void Annule();
  void Fin();
  void MontreBilan();

  const TDonnees* donnees_ = nullptr;
  TSystemeResolu source_, destination_;
  TOptionsLignes base_;
  TOptionsLignes options_;  // of the run in progress
  std::string entree_, sortie_;
  QThread* travail_ = nullptr;
  std::atomic<bool> annuler_{false};
  std::atomic<int> pourcent_{0};
  TBilanFichier bilan_;
  QString erreur_;
};

}  // namespace vestrel
