#pragma once
// What the dialogs of the parameters window share: the main window's
// message interface, the "OK" and "Annuler" buttons, the checked fields, and
// the name check by the catalogue's rules.
#include <QDialog>
#include <QHash>
#include <functional>
#include <string>
#include <string_view>

#include "ui/fenetre_principale.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vestrel {

class TDonnees;
class TEllipsoide;

using TAfficheur = TForm1::TAfficheur;

// The name check of the three editors, by the catalogue's rules: a text the
// file can hold, and no other record than `soi` bearing it ("Nom déjà
// utilisé").
void VerifieNom(const TDonnees& donnees, const std::string& nom, const void* soi);

// A modal dialog of the parameters window.
class TDialogue : public QDialog {
  Q_OBJECT

 public:
  // Messages go through the main window's interface; empty: message boxes.
  TAfficheur Afficheur;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  void Informe(const std::string& texte);
  // Warning with OK and "Annuler"; true for OK.
  bool Demande(const std::string& texte);
  // Question with "Oui" and "Non"; true for "Oui".
  bool DemandeOuiNon(const std::string& texte);
  // Checks the field being edited before closing.
  void accept() override;

 protected:
  TDialogue(const char* nom, const char* titre, TAfficheur afficheur, QWidget* parent);

  // The OK (default) and "Annuler" buttons in a row.
  QLayout* CreeBoutons();
  // A label with its control on a row of a grid; the control is named.
  QWidget* Place(QGridLayout* grille, int rang, QWidget* controle, const char* nom,
                 const char* etiquette);
  QLineEdit* Champ(QGridLayout* grille, int rang, const char* nom, const char* etiquette);
  QComboBox* Choix(QGridLayout* grille, int rang, const char* nom, const char* etiquette);

  // A checked field: when it is left with a new text, `quitte` gets it and
  // raises to refuse it; the message is shown, the text the field had on
  // entering comes back and the focus stays there.
  void Verifie(QLineEdit* champ, std::function<void(const std::string&)> quitte);
  // Runs the leave step of the field being edited (before OK, which must not
  // take a text nobody checked); false when it is refused.
  bool QuitteChamp();
  void showEvent(QShowEvent* evenement) override;
  bool eventFilter(QObject* objet, QEvent* evenement) override;

  // The text of the field that last received the focus, as it was then.
  QString AncienTexte;

 private:
  QHash<QLineEdit*, std::function<void(const std::string&)>> etapes_;
  QLineEdit* courant_ = nullptr;
};

}  // namespace vestrel
