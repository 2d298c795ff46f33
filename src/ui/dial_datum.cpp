#include "ui/dial_datum.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/donnee.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

double Reel(const std::string& texte, const char* message) {
  double valeur;
  if (!EssaieLitReel(texte, valeur)) throw ErreurConversion(message);
  return valeur;
}

QString Texte6(double valeur) { return QString::fromStdString(FormatG(valeur, 6)); }

}  // namespace

TDlgDatum::TDlgDatum(TAfficheur afficheur, QWidget* parent)
    : TDialogue("DlgDatum", "Paramètres du datum", std::move(afficheur), parent) {
  auto* haut = new QGridLayout;
  EditNom = Champ(haut, 0, "EditNom", "&Nom");
  EditDescription = Champ(haut, 1, "EditDescription", "&Description");
  ComboEllipsoide = Choix(haut, 2, "ComboEllipsoide", "&Ellipsoïde");

  auto* translation = new QGroupBox(QStringLiteral("Translation (m)"), this);
  auto* grilleTranslation = new QGridLayout(translation);
  EditDeltaX = Champ(grilleTranslation, 0, "EditDeltaX", "Delta&X");
  EditDeltaY = Champ(grilleTranslation, 1, "EditDeltaY", "Delta&Y");
  EditDeltaZ = Champ(grilleTranslation, 2, "EditDeltaZ", "Delta&Z");

  CheckSept = new QCheckBox(QStringLiteral("Transformation à 7 paramètres"), this);
  CheckSept->setObjectName(QStringLiteral("CheckSept"));
  auto* rotation = new QGroupBox(QStringLiteral("Rotation (secondes)"), this);
  auto* grilleRotation = new QGridLayout(rotation);
  EditRotX = Champ(grilleRotation, 0, "EditRotX", "Rx");
  EditRotY = Champ(grilleRotation, 1, "EditRotY", "Ry");
  EditRotZ = Champ(grilleRotation, 2, "EditRotZ", "Rz");
  auto* bas = new QGridLayout;
  EditEchelle = Champ(bas, 0, "EditEchelle", "E&chelle (ppm)");
  EditGrille = Champ(bas, 1, "EditGrille", "&Grille");
  ButtonGrille = new QPushButton(QStringLiteral("..."), this);
  ButtonGrille->setObjectName(QStringLiteral("ButtonGrille"));
  bas->addWidget(ButtonGrille, 1, 2);
  for (QLineEdit* champ : {EditDeltaX, EditDeltaY, EditDeltaZ, EditRotX, EditRotY, EditRotZ,
                           EditEchelle})
    champ->setText(QStringLiteral("0"));

  auto* similitude = new QHBoxLayout;
  similitude->addWidget(translation);
  similitude->addWidget(rotation);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(haut);
  tout->addLayout(similitude);
  tout->addWidget(CheckSept);
  tout->addLayout(bas);
  tout->addLayout(CreeBoutons());

  OpenDialogGrille = new QFileDialog(this, QStringLiteral("Enregistrer sous"));
  OpenDialogGrille->setObjectName(QStringLiteral("OpenDialogGrille"));
  OpenDialogGrille->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialogGrille->setFileMode(QFileDialog::ExistingFile);
  OpenDialogGrille->setNameFilters(
      {QStringLiteral("Fichier texte (*.txt)"), QStringLiteral("Fichier mnt (*.mnt)")});
  OpenDialogGrille->setDefaultSuffix(QStringLiteral("txt"));
  OpenDialogGrille->setOption(QFileDialog::DontUseNativeDialog);

  Verifie(EditNom, [this](const std::string& nom) {
    VerifieNom(*Donnees, nom, Edite);
    Copie->Nom = nom;
  });
  Verifie(EditDescription, [this](const std::string& texte) {
    TDonnees::VerifieTexte(texte, "La description");
    Copie->Description = texte;
  });
  const TChampReel champs[] = {{EditDeltaX, &TDatum::DeltaX}, {EditDeltaY, &TDatum::DeltaY},
                               {EditDeltaZ, &TDatum::DeltaZ}, {EditRotX, &TDatum::RotX},
                               {EditRotY, &TDatum::RotY},     {EditRotZ, &TDatum::RotZ},
                               {EditEchelle, &TDatum::Echelle}};
  const char* const messages[] = {"Valeur de DeltaX incorrecte, exemple 125.365",
                                  "Valeur de DeltaY incorrecte, exemple 125.365",
                                  "Valeur de DeltaZ incorrecte, exemple 125.365",
                                  "Valeur de RotX incorrecte, exemple 125.365",
                                  "Valeur de RotY incorrecte, exemple 125.365",
                                  "Valeur de RotZ incorrecte, exemple 125.365",
                                  "Valeur d'Échelle incorrecte, exemple 125.365"};
  for (int i = 0; i < 7; ++i) {
    const TChampReel champ = champs[i];
    const char* message = messages[i];
    Verifie(champ.Champ, [this, champ, message](const std::string& texte) {
      Copie->*champ.Valeur = Reel(texte, message);
    });
    if (i >= 3) septs_.push_back(champ);
  }
  Verifie(EditGrille, [this](const std::string& nom) {
    TDonnees::VerifieTexte(nom, "Le nom de grille");
    Copie->ChoisitGrille(nom);
  });

  connect(CheckSept, &QCheckBox::clicked, this, &TDlgDatum::CheckSeptClick);
  connect(ComboEllipsoide, &QComboBox::activated, this, &TDlgDatum::ChoixEllipsoide);
  connect(ButtonGrille, &QPushButton::clicked, this, &TDlgDatum::ButtonGrilleClick);
}

void TDlgDatum::showEvent(QShowEvent* evenement) {
  TDialogue::showEvent(evenement);
  EditNom->setText(QString::fromStdString(Copie->Nom));
  EditDescription->setText(QString::fromStdString(Copie->Description));
  ComboEllipsoide->clear();
  for (const auto& ellipsoide : Donnees->Ellipsoides) {
    ComboEllipsoide->addItem(QString::fromStdString(ellipsoide->Nom),
                             QVariant::fromValue(reinterpret_cast<quintptr>(ellipsoide.get())));
    if (ellipsoide.get() == Copie->Ellipsoide)
      ComboEllipsoide->setCurrentIndex(ComboEllipsoide->count() - 1);
  }
  EditDeltaX->setText(Texte6(Copie->DeltaX));
  EditDeltaY->setText(Texte6(Copie->DeltaY));
  EditDeltaZ->setText(Texte6(Copie->DeltaZ));
  for (const TChampReel& champ : septs_)
    champ.Champ->setText(Copie->TroisParametres ? QStringLiteral("0")
                                                : Texte6(Copie->*champ.Valeur));
  EditGrille->setText(QString::fromStdString(Copie->NomGrille));
  CheckSept->setChecked(!Copie->TroisParametres);
  CheckSeptClick();
  EditNom->setFocus();
}

void TDlgDatum::CheckSeptClick() {
  const bool sept = CheckSept->isChecked();
  for (const TChampReel& champ : septs_) champ.Champ->setEnabled(sept);
  Copie->TroisParametres = !sept;
  // The four values of the copy become those of the texts, but a text that
  // shows the copy's value keeps it whole (not rounded to six digits).
  if (sept)
    for (const TChampReel& champ : septs_) {
      const std::string texte = champ.Champ->text().toStdString();
      double valeur;
      if (texte != FormatG(Copie->*champ.Valeur, 6) && EssaieLitReel(texte, valeur))
        Copie->*champ.Valeur = valeur;
    }
}

void TDlgDatum::ChoixEllipsoide(int indice) {
  if (indice >= 0)
    Copie->Ellipsoide =
        reinterpret_cast<TEllipsoide*>(ComboEllipsoide->itemData(indice).value<quintptr>());
}

void TDlgDatum::ButtonGrilleClick() {
  OpenDialogGrille->selectFile(EditGrille->text().isEmpty() ? QStringLiteral("gr3d*.txt")
                                                            : EditGrille->text());
  if (OpenDialogGrille->exec() != QDialog::Accepted) return;
  const QStringList fichiers = OpenDialogGrille->selectedFiles();
  if (fichiers.isEmpty()) return;
  const std::string nom = fichiers.front().toStdString();
  try {
    TDonnees::VerifieTexte(nom, "Le nom de grille");
    Copie->ChoisitGrille(nom);
    EditGrille->setText(fichiers.front());
  } catch (const std::exception& erreur) {
    Informe(erreur.what());
  }
}

}  // namespace vestrel
