#pragma once
// The ellipsoid editor.
#include "ui/dialogue.h"

namespace vestrel {

class TDlgEllipsoide : public TDialogue {
  Q_OBJECT

 public:
  explicit TDlgEllipsoide(TAfficheur afficheur = {}, QWidget* parent = nullptr);

  // Set by the parameters window before each showing.
  const TDonnees* Donnees = nullptr;
  TEllipsoide* Copie = nullptr;         // the working copy, written field by field
  const TEllipsoide* Edite = nullptr;   // the record edited, none for a new one

  QLineEdit* EditNom;
  QLineEdit* EditDescription;
  QLineEdit* EditA;
  QLineEdit* EditB;
  QLineEdit* EditE;
  QLineEdit* EditF;

 protected:
  void showEvent(QShowEvent* evenement) override;

 private:
  void Remplit(bool a, bool b, bool e, bool f);
  // Applies a change of a, b, e or 1/f to a scratch copy and keeps it only
  // when it is still an ellipsoid (a > 0, 0 <= e < 1).
  void Change(const std::string& texte, const char* message,
              const std::function<void(TEllipsoide&, double)>& change);
};

}  // namespace vestrel
