#pragma once
// The main window: the source and destination systems of the catalogue, the
// typed point, the "Convertir" command and its outputs. The window creates the
// catalogue and loads the data file when it is created, and saves the
// catalogue when it is destroyed. It only wires widgets to the engine: every
// computation, text and file rule lives in src/catalogue.
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "tools/chemins.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vestrel {

class TFichierIni;
class TDlgFichier;

// Qt's own French texts (file choosers, message box buttons), installed once
// for the application; the main window does it when it is created. False
// when the translation file is missing.
bool InstalleTraductionQt();

class TForm1 : public QDialog {
  Q_OBJECT

 public:
  // Shows a message box; tests replace it to read the messages without a
  // blocking dialog.
  using TAfficheur = std::function<void(const QString& titre, const QString& texte)>;

  // Runs the start-up: caption, catalogue, data file, choices. `ini` must
  // outlive the window. An empty `afficheur` shows real message boxes.
  explicit TForm1(const TFichierIni& ini, TAfficheur afficheur = {}, QWidget* parent = nullptr);
  // Saves the catalogue when AutoSave is on; a failure is reported.
  ~TForm1() override;

  // The program's catalogue. The parameters window edits it in place or
  // replaces it by a fresh one, then the choices are refilled.
  std::unique_ptr<TDonnees> Donnees;
  // Shown modally by "Paramètres ..." when set.
  std::function<void()> MontreParametres;

  // Both choices get ListeNoms, select their first entry, and both sides are
  // updated.
  void RemplitChoix();

  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* ButtonFichier;
  QPushButton* ButtonCopier;  // "Copier", also Ctrl+C on the window  // "Convertir un fichier ..."
  TDlgFichier* DlgFichier;
  QGroupBox* GroupBox1;
  QLabel* Label9;
  QComboBox* ComboSource;
  QLabel* Label10;
  QLineEdit* EditDescription1;
  QLabel* Label2;
  QLineEdit* EditXSource;
  QLabel* Label3;
  QLineEdit* EditYSource;
  QLabel* Label7;
  QLineEdit* EditFuseauSource;
  QCheckBox* CheckSourceParis;
  QGroupBox* GroupBox2;
  QLabel* Label1;
  QComboBox* ComboDestination;
  QLabel* Label11;
  QLineEdit* EditDescription2;
  QLabel* Label12;
  QLineEdit* EditXDest;
  QLabel* Label13;
  QLineEdit* EditYDest;
  QLabel* Label14;
  QLineEdit* EditFuseauDest;
  QCheckBox* CheckDestParis;
  QGroupBox* RadioUnite;
  QButtonGroup* ItemsUnite;
  QLabel* Label4;
  QLineEdit* EditConvergence;
  QLabel* Label5;
  QLineEdit* EditAlteration;
  QLabel* Label8;
  QLineEdit* EditEcartEchelle;  // the alteration as a scale error
  // How the datums were shifted, and the warning of a point far from a
  // system's region, beside the results (read-only).
  QLabel* Label6;
  QLineEdit* EditMethode;
  QLabel* LabelAvertissement;

 protected:
  void keyPressEvent(QKeyEvent* evenement) override;
  // A "donnees.txt" the catalogue does not mirror is settled before the
  // window closes, the close cancelled when the user cancels.
  void closeEvent(QCloseEvent* evenement) override;
  bool eventFilter(QObject* objet, QEvent* evenement) override;

 private:
  void CreeControles();
  void Demarre();
  void MiseAJourSource();
  void MiseAJourDestination();
  // The result fields, emptied when a conversion fails or a system changes.
  std::vector<QLineEdit*> Sorties() const;
  void VideSorties();
  void Button1Click();
  void Button2Click();
  void ButtonFichierClick();
  // The converted point and its results on the clipboard, a line of titles
  // and a line of values separated by tabs.
  void Copie();
  // Runs a command; an error escaping it is shown with its message and the
  // window stays usable.
  void Commande(const std::function<void()>& commande);
  void Affiche(const QString& titre, const QString& texte);
  // With automatic saving, the catalogue into "donnees.txt"; when that file
  // is not the catalogue's to replace, the user chooses (reload, replace,
  // save elsewhere, cancel). False when cancelled.
  bool EnregistreDonnees(TMomentSauvegarde moment);
  TChoixDonnees Choix(const QString& texte);
  void AfficheRejets(const std::vector<TRejet>& rejets);

  const TFichierIni& ini_;
  TAfficheur afficheur_;
  TDemarrage demarrage_;
  // The settings folder marked as used by this window while it lives.
  std::unique_ptr<TOccupation> occupation_;
  // Saved elsewhere as the window closed: "donnees.txt" stays as it is.
  bool donneesLaissees_ = false;
  QString copie_;  // what "Copier" gives for the results shown; empty without any
};

}  // namespace vestrel
