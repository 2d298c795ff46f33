#include "ui/dialogue.h"

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

void VerifieNom(const TDonnees& donnees, const std::string& nom, const void* soi) {
  TDonnees::VerifieTexte(nom, "Le nom");
  if (!donnees.NomDisponible(nom, soi)) throw ErreurConversion("Nom déjà utilisé");
}

// ---- TDialogue ----------------------------------------------------------------

TDialogue::TDialogue(const char* nom, const char* titre, TAfficheur afficheur, QWidget* parent)
    : QDialog(parent), Afficheur(std::move(afficheur)) {
  setObjectName(QString::fromLatin1(nom));
  setWindowTitle(QString::fromUtf8(titre));
  setModal(true);
}

void TDialogue::Informe(const std::string& texte) {
  const QString titre = QStringLiteral("Vestrel");
  if (Afficheur)
    Afficheur(titre, QString::fromStdString(texte));
  else
    QMessageBox::information(this, titre, QString::fromStdString(texte));
}

bool TDialogue::Demande(const std::string& texte) {
  QMessageBox question(QMessageBox::Warning, QStringLiteral("Vestrel"),
                       QString::fromStdString(texte), QMessageBox::Ok | QMessageBox::Cancel, this);
  question.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
  return question.exec() == QMessageBox::Ok;
}

bool TDialogue::DemandeOuiNon(const std::string& texte) {
  QMessageBox question(QMessageBox::Question, QStringLiteral("Vestrel"),
                       QString::fromStdString(texte), QMessageBox::Yes | QMessageBox::No, this);
  question.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
  question.button(QMessageBox::No)->setText(QStringLiteral("Non"));
  question.setDefaultButton(QMessageBox::No);
  return question.exec() == QMessageBox::Yes;
}

QLayout* TDialogue::CreeBoutons() {
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Annuler"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  boutons->addWidget(OKBtn);
  boutons->addWidget(CancelBtn);
  return boutons;
}

QWidget* TDialogue::Place(QGridLayout* grille, int rang, QWidget* controle, const char* nom,
                          const char* etiquette) {
  controle->setObjectName(QString::fromLatin1(nom));
  auto* label = new QLabel(QString::fromUtf8(etiquette), this);
  label->setBuddy(controle);
  grille->addWidget(label, rang, 0);
  grille->addWidget(controle, rang, 1);
  return controle;
}

QLineEdit* TDialogue::Champ(QGridLayout* grille, int rang, const char* nom,
                            const char* etiquette) {
  return static_cast<QLineEdit*>(Place(grille, rang, new QLineEdit(this), nom, etiquette));
}

QComboBox* TDialogue::Choix(QGridLayout* grille, int rang, const char* nom,
                            const char* etiquette) {
  return static_cast<QComboBox*>(Place(grille, rang, new QComboBox(this), nom, etiquette));
}

void TDialogue::Verifie(QLineEdit* champ, std::function<void(const std::string&)> quitte) {
  etapes_.insert(champ, std::move(quitte));
  champ->installEventFilter(this);
}

bool TDialogue::QuitteChamp() {
  QLineEdit* champ = courant_;
  if (!champ) return true;
  courant_ = nullptr;
  // A field left as it was found changes nothing: a visit does not round a
  // value to its display.
  if (champ->text() == AncienTexte) return true;
  try {
    etapes_.value(champ)(champ->text().toStdString());
    return true;
  } catch (const std::exception& erreur) {
    // The focus first, so that the message box finds the field again when
    // it closes.
    champ->setText(AncienTexte);
    champ->setFocus(Qt::OtherFocusReason);
    courant_ = champ;
    Informe(erreur.what());
    return false;
  }
}

void TDialogue::accept() {
  if (QuitteChamp()) QDialog::accept();
}

void TDialogue::showEvent(QShowEvent* evenement) {
  courant_ = nullptr;
  QDialog::showEvent(evenement);
}

bool TDialogue::eventFilter(QObject* objet, QEvent* evenement) {
  auto* champ = qobject_cast<QLineEdit*>(objet);
  if (!champ || !etapes_.contains(champ)) return QDialog::eventFilter(objet, evenement);
  if (evenement->type() == QEvent::FocusIn) {
    // A field whose leave step waits (the mouse went to OK or "Annuler"
    // without a click) is left now.
    if (courant_ && courant_ != champ && !QuitteChamp()) return true;
    if (courant_ != champ) {
      courant_ = champ;
      AncienTexte = champ->text();
    }
  } else if (evenement->type() == QEvent::FocusOut && champ == courant_) {
    // Another window taking the focus (a message box, another program) does
    // not leave the field. A click on OK checks it before closing, a click
    // on "Annuler" discards it: both leave it their own way.
    const auto raison = static_cast<QFocusEvent*>(evenement)->reason();
    QWidget* suivant = QApplication::focusWidget();
    const bool bouton = raison == Qt::MouseFocusReason && suivant &&
                        (suivant == OKBtn || suivant == CancelBtn);
    if (raison != Qt::ActiveWindowFocusReason && raison != Qt::PopupFocusReason && !bouton)
      QuitteChamp();
  }
  return QDialog::eventFilter(objet, evenement);
}

}  // namespace vestrel
