#pragma once
// The datum editor: name, description, ellipsoid, the three translations,
// the optional rotations and scale, and the correction grid of one working
// copy of a datum. Every field writes into the copy when it is left.
#include "ui/dialogue.h"

class QCheckBox;
class QComboBox;
class QFileDialog;

namespace vestrel {

class TDatum;

class TDlgDatum : public TDialogue {
  Q_OBJECT

 public:
  explicit TDlgDatum(TAfficheur afficheur = {}, QWidget* parent = nullptr);

  // Set by the parameters window before each showing.
  const TDonnees* Donnees = nullptr;
  TDatum* Copie = nullptr;
  const TDatum* Edite = nullptr;

  QLineEdit* EditNom;
  QLineEdit* EditDescription;
  QComboBox* ComboEllipsoide;
  QLineEdit* EditDeltaX;
  QLineEdit* EditDeltaY;
  QLineEdit* EditDeltaZ;
  QCheckBox* CheckSept;
  QLineEdit* EditRotX;
  QLineEdit* EditRotY;
  QLineEdit* EditRotZ;
  QLineEdit* EditEchelle;
  QLineEdit* EditGrille;
  QPushButton* ButtonGrille;
  QFileDialog* OpenDialogGrille;

 protected:
  void showEvent(QShowEvent* evenement) override;

 private:
  // The four fields of the seven-parameter similarity follow the box.
  void CheckSeptClick();
  void ButtonGrilleClick();
  void ChoixEllipsoide(int indice);
  // Datum field and where its value goes, for the leave steps.
  struct TChampReel {
    QLineEdit* Champ;
    double TDatum::*Valeur;
  };
  std::vector<TChampReel> septs_;
};

}  // namespace vestrel
