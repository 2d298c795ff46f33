#include "ui/dial_import.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "tools/chemins.h"
#include "tools/codec.h"

namespace vestrel {

TDlgImportation::TDlgImportation(TAfficheur afficheur, QWidget* parent)
    : TDialogue("DlgImportation", "Importation", std::move(afficheur), parent) {
  CheckTout = new QCheckBox(QStringLiteral("&Tout importer"), this);
  CheckTout->setObjectName(QStringLiteral("CheckTout"));
  CheckListBoxImport = new QListWidget(this);
  CheckListBoxImport->setObjectName(QStringLiteral("CheckListBoxImport"));
  ButtonTout = new QPushButton(QStringLiteral("Tout"), this);
  ButtonTout->setObjectName(QStringLiteral("ButtonTout"));
  ButtonAucun = new QPushButton(QStringLiteral("Aucun"), this);
  ButtonAucun->setObjectName(QStringLiteral("ButtonAucun"));
  auto* choix = new QHBoxLayout;
  choix->addWidget(ButtonTout);
  choix->addWidget(ButtonAucun);
  choix->addStretch(1);
  auto* tout = new QVBoxLayout(this);
  tout->addWidget(CheckTout);
  tout->addWidget(CheckListBoxImport, 1);
  tout->addLayout(choix);
  tout->addLayout(CreeBoutons());
  resize(560, 380);

  connect(CheckTout, &QCheckBox::clicked, this, &TDlgImportation::CheckToutClick);
  connect(ButtonTout, &QPushButton::clicked, this, [this] { Coche(true); });
  connect(ButtonAucun, &QPushButton::clicked, this, [this] { Coche(false); });
}

void TDlgImportation::Initialise(const std::string& fichier) {
  CheckTout->setChecked(true);
  CheckToutClick();
  CheckListBoxImport->clear();
  const std::string texte = Win1252VersUtf8(LitFichier(fichier));
  // Lines end with CR LF, LF or CR.
  size_t debut = 0;
  while (debut < texte.size()) {
    size_t fin = texte.find_first_of("\r\n", debut);
    if (fin == std::string::npos) fin = texte.size();
    const std::string ligne = texte.substr(debut, fin - debut);
    if (!ligne.empty() && ligne.front() != '\'') {
      auto* element = new QListWidgetItem(QString::fromStdString(ligne), CheckListBoxImport);
      element->setFlags(element->flags() | Qt::ItemIsUserCheckable);
    }
    debut = fin + (texte.compare(fin, 2, "\r\n") == 0 ? 2 : 1);
  }
  Coche(true);
}

std::vector<std::string> TDlgImportation::LignesCochees() const {
  std::vector<std::string> lignes;
  for (int i = 0; i < CheckListBoxImport->count(); ++i)
    if (CheckListBoxImport->item(i)->checkState() == Qt::Checked)
      lignes.push_back(CheckListBoxImport->item(i)->text().toStdString());
  return lignes;
}

void TDlgImportation::CheckToutClick() {
  const bool choix = !CheckTout->isChecked();
  for (QWidget* controle : {static_cast<QWidget*>(CheckListBoxImport), static_cast<QWidget*>(ButtonTout),
                            static_cast<QWidget*>(ButtonAucun)})
    controle->setEnabled(choix);
}

void TDlgImportation::Coche(bool coche) {
  for (int i = 0; i < CheckListBoxImport->count(); ++i)
    CheckListBoxImport->item(i)->setCheckState(coche ? Qt::Checked : Qt::Unchecked);
}

}  // namespace vestrel
