#pragma once
// The coordinate-system editor: name, description, nature, datum and one
// grid holding the parameters of any nature, by the uniform parameter
// interface of the systems. OK builds a new system of the chosen nature; the
// system the dialog was filled from is never changed.
#include <memory>

#include "ui/dialogue.h"

class QComboBox;
class QTableWidget;

namespace vestrel {

class TAncetre;

class TDlgProjection : public TDialogue {
  Q_OBJECT

 public:
  explicit TDlgProjection(TAfficheur afficheur = {}, QWidget* parent = nullptr);

  // Set by the parameters window before Initialise.
  const TDonnees* Donnees = nullptr;

  // For a new system `systeme` is none; `multiple` chooses the natures of
  // multi-zone systems.
  void Initialise(const TAncetre* systeme, bool multiple);

  bool EstMultiple = false;
  const TAncetre* SystemeEdite = nullptr;
  // The system built by the last successful OK; the receiver takes it.
  std::unique_ptr<TAncetre> Resultat;

  QLineEdit* EditNom;
  QLineEdit* EditDescription;
  QComboBox* ComboNature;
  QComboBox* ComboDatum;
  QTableWidget* GridParametre;
  QLabel* Label5;

  // Builds the system from the fields and the grid.
  void accept() override;

 private:
  void ChangeNature();
  // Column 1 from the parameters of that system.
  void RemplitValeurs(const TAncetre& systeme);
  // Reads the grid into the new system; false after showing the message of
  // the first faulty row.
  bool LitGrille(TAncetre& systeme);
};

}  // namespace vestrel
