#pragma once
// The import selection dialog: the record lines of a data file as a list of
// check boxes, or the whole file. It only reads the file to list its lines;
// the parameters window imports what was chosen.
#include <string>

#include "ui/dialogue.h"

class QCheckBox;
class QListWidget;

namespace vestrel {

class TDlgImportation : public TDialogue {
  Q_OBJECT

 public:
  explicit TDlgImportation(TAfficheur afficheur = {}, QWidget* parent = nullptr);

  // Lists the lines of the file that are neither empty nor comments (first
  // character an apostrophe), all checked, with "Tout importer" checked.
  // Raises ErreurEntreeSortie when the file cannot be read.
  void Initialise(const std::string& fichier);
  // The texts of the checked lines, in list order.
  std::vector<std::string> LignesCochees() const;

  QCheckBox* CheckTout;
  QListWidget* CheckListBoxImport;
  QPushButton* ButtonTout;
  QPushButton* ButtonAucun;

 private:
  void CheckToutClick();
  void Coche(bool coche);
};

}  // namespace vestrel
