#include "ui/dial_ellipse.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "catalogue/donnee.h"
#include "tools/codec.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"

namespace vestrel {

// ---- TDlgEllipsoide -------------------------------------------------------------

namespace {

// "%.9g" of 1/f; a sphere has none and shows "0", which reads back as a
// sphere (the usual convention).
QString TexteInverse(const TEllipsoide& ellipsoide) {
  try {
    return QString::fromStdString(FormatG(ellipsoide.GetInverseAplatissement(), 9));
  } catch (const ErreurArithmetique&) {
    return QStringLiteral("0");
  }
}

QString Texte9(double valeur) { return QString::fromStdString(FormatG(valeur, 9)); }

}  // namespace

TDlgEllipsoide::TDlgEllipsoide(TAfficheur afficheur, QWidget* parent)
    : TDialogue("DlgEllipsoide", "Paramètres de l'ellipsoïde", std::move(afficheur), parent) {
  auto* grille = new QGridLayout;
  EditNom = Champ(grille, 0, "EditNom", "&Nom");
  EditDescription = Champ(grille, 1, "EditDescription", "&Description");
  EditA = Champ(grille, 2, "EditA", "&a (m)");
  EditB = Champ(grille, 3, "EditB", "&b (m)");
  EditE = Champ(grille, 4, "EditE", "&e");
  EditF = Champ(grille, 5, "EditF", "1/&f");
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(grille);
  tout->addLayout(CreeBoutons());
  setMinimumWidth(360);

  Verifie(EditNom, [this](const std::string& nom) {
    VerifieNom(*Donnees, nom, Edite);
    Copie->Nom = nom;
  });
  Verifie(EditDescription, [this](const std::string& texte) {
    TDonnees::VerifieTexte(texte, "La description");
    Copie->Description = texte;
  });
  // a and e are the stored pair: a moves b; b, e and 1/f move e.
  Verifie(EditA, [this](const std::string& t) {
    Change(t, "Valeur de a incorrecte, exemple 6371365.32", [](TEllipsoide& c, double v) { c.A = v; });
    Remplit(false, true, false, false);
  });
  Verifie(EditB, [this](const std::string& t) {
    Change(t, "Valeur de b incorrecte, exemple 6371365.32", [](TEllipsoide& c, double v) { c.SetB(v); });
    Remplit(false, false, true, true);
  });
  Verifie(EditE, [this](const std::string& t) {
    Change(t, "Valeur de e incorrecte, exemple 0.0823554", [](TEllipsoide& c, double v) { c.E = v; });
    Remplit(false, true, false, true);
  });
  Verifie(EditF, [this](const std::string& t) {
    Change(t, "Valeur de 1/f incorrecte, exemple 287.65", [](TEllipsoide& c, double v) {
      if (v == 0)
        c.E = 0;
      else
        c.SetInverseAplatissement(v);
    });
    Remplit(false, true, true, false);
  });
}

void TDlgEllipsoide::Change(const std::string& texte, const char* message,
                            const std::function<void(TEllipsoide&, double)>& change) {
  double valeur;
  if (!EssaieLitReel(texte, valeur)) throw ErreurConversion(message);
  TEllipsoide essai;
  essai.A = Copie->A;
  essai.E = Copie->E;
  change(essai, valeur);
  if (!TDonnees::EllipsoideValide(essai.A, essai.E)) throw ErreurConversion(message);
  Copie->A = essai.A;
  Copie->E = essai.E;
}

void TDlgEllipsoide::Remplit(bool a, bool b, bool e, bool f) {
  if (a) EditA->setText(Texte9(Copie->A));
  if (b) EditB->setText(Texte9(Copie->GetB()));
  if (e) EditE->setText(Texte9(Copie->E));
  if (f) EditF->setText(TexteInverse(*Copie));
}

void TDlgEllipsoide::showEvent(QShowEvent* evenement) {
  TDialogue::showEvent(evenement);
  EditNom->setText(QString::fromStdString(Copie->Nom));
  EditDescription->setText(QString::fromStdString(Copie->Description));
  Remplit(true, true, true, true);
  EditNom->setFocus();
}

}  // namespace vestrel
