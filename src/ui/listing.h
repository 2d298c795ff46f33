#pragma once
// The parameters window: the catalogue's ellipsoids, datums, single-zone and
// multi-zone systems on four tabs, each with add, modify and delete through
// the editors; import from another data file, save to a file, reset to the
// built-ins, and the switch of automatic loading and saving. Every change is
// made in the catalogue at once; "Fermer" only closes.
#include <memory>

#include "ui/dial_datum.h"
#include "ui/dial_ellipse.h"
#include "ui/dial_import.h"
#include "ui/dial_projection.h"

class QListWidget;
class QTabWidget;
class QWidget;

namespace vestrel {

class TFichierIni;

class TDlgParametre : public TDialogue {
  Q_OBJECT

 public:
  // `donnees` is the main window's catalogue, which "Réinitialiser" replaces;
  // both it and `ini` must outlive the window. The editors are created here
  // once and share the message interface.
  TDlgParametre(std::unique_ptr<TDonnees>& donnees, TFichierIni& ini, TAfficheur afficheur = {},
                QWidget* parent = nullptr);

  QTabWidget* PageControl;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QWidget* TabSheet3;
  QWidget* TabSheet4;
  QListWidget* ListEllips;
  QListWidget* ListDatum;
  QListWidget* ListSimple;
  QListWidget* ListMultiple;
  QPushButton* ButtonAjoutEllips;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* ButtonAjoutDatum;
  QPushButton* Button4;
  QPushButton* Button5;
  QPushButton* ButtonAjoutProjection;
  QPushButton* Button7;
  QPushButton* Button8;
  QPushButton* ButtonAjoutMultiple;
  QPushButton* Button10;
  QPushButton* Button11;
  QCheckBox* CheckAutomatique;
  QPushButton* ButtonOuvrir;
  QPushButton* ButtonEnregistrer;
  QPushButton* ButtonRAZ;
  QPushButton* ButtonAutotest;
  QFileDialog* OpenDialog;
  QFileDialog* SaveDialog;

  TDlgEllipsoide* DlgEllipsoide;
  TDlgDatum* DlgDatum;
  TDlgProjection* DlgProjection;
  TDlgImportation* DlgImportation;

  // The four lists from the catalogue.
  void Remplit();

 protected:
  void showEvent(QShowEvent* evenement) override;

 private:
  void Ellipsoide(bool ajout);
  void Datum(bool ajout);
  void Systeme(bool ajout, bool multiple);
  void SupprimeEllipsoide();
  void SupprimeDatum();
  void SupprimeSysteme(bool multiple);
  void Ouvrir();
  void Enregistrer();
  void Reinitialise();
  // The shipped reference points through the catalogue: the summary and the
  // points that failed.
  void Autotest();
  // The settings file is written at once; switched on, "donnees.txt" may be
  // loaded now.
  void AutomatiqueCoche(bool coche);
  // Runs a command; an error escaping it is shown with its message.
  void Commande(const std::function<void()>& commande);

  std::unique_ptr<TDonnees>& donnees_;
  TFichierIni& ini_;
};

}  // namespace vestrel
