#include "ui/dial_projection.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "catalogue/donnee.h"
#include "systems/createur.h"
#include "tools/erreurs.h"

namespace vestrel {

namespace {

std::unique_ptr<TAncetre> Cree(bool multiple, const std::string& nature) {
  if (multiple) return CreeMultiple(nature);
  return CreeProjection(nature);
}

}  // namespace

TDlgProjection::TDlgProjection(TAfficheur afficheur, QWidget* parent)
    : TDialogue("DlgProjection", "Paramètres de la projection", std::move(afficheur), parent) {
  auto* haut = new QGridLayout;
  EditNom = Champ(haut, 0, "EditNom", "&Nom");
  EditDescription = Champ(haut, 1, "EditDescription", "&Description");
  ComboNature = Choix(haut, 2, "ComboNature", "Na&ture");
  ComboDatum = Choix(haut, 3, "ComboDatum", "Datu&m");
  Label5 = new QLabel(QStringLiteral("&Propriétés"), this);
  Label5->setObjectName(QStringLiteral("Label5"));
  GridParametre = new QTableWidget(0, 2, this);
  GridParametre->setObjectName(QStringLiteral("GridParametre"));
  GridParametre->setHorizontalHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Valeur")});
  GridParametre->verticalHeader()->hide();
  GridParametre->horizontalHeader()->setStretchLastSection(true);
  GridParametre->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  GridParametre->setSelectionMode(QAbstractItemView::SingleSelection);
  Label5->setBuddy(GridParametre);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(haut);
  tout->addWidget(Label5);
  tout->addWidget(GridParametre, 1);
  tout->addLayout(CreeBoutons());
  resize(420, 460);

  Verifie(EditNom, [this](const std::string& nom) { VerifieNom(*Donnees, nom, SystemeEdite); });
  Verifie(EditDescription,
          [](const std::string& texte) { TDonnees::VerifieTexte(texte, "La description"); });
  connect(ComboNature, &QComboBox::activated, this, [this] {
    ChangeNature();
    // The values of the edited system when its own nature comes back, else
    // those of a new system of that nature.
    const std::string nature = ComboNature->currentText().toStdString();
    if (SystemeEdite && SystemeEdite->Nature() == nature)
      RemplitValeurs(*SystemeEdite);
    else if (auto neuf = Cree(EstMultiple, nature))
      RemplitValeurs(*neuf);
  });
}

void TDlgProjection::Initialise(const TAncetre* systeme, bool multiple) {
  EstMultiple = multiple;
  SystemeEdite = systeme;
  Resultat.reset();

  ComboNature->clear();
  if (multiple)
    for (const auto& type : TypesMultiple()) ComboNature->addItem(QString::fromUtf8(type.Nature));
  else
    for (const auto& type : TypesProjection()) ComboNature->addItem(QString::fromUtf8(type.Nature));
  ComboNature->setCurrentIndex(0);

  ComboDatum->clear();
  for (const auto& datum : Donnees->Datums) {
    ComboDatum->addItem(QString::fromStdString(datum->Nom),
                        QVariant::fromValue(reinterpret_cast<quintptr>(datum.get())));
    if (systeme && datum.get() == systeme->Datum)
      ComboDatum->setCurrentIndex(ComboDatum->count() - 1);
  }

  if (systeme) {
    EditNom->setText(QString::fromStdString(systeme->Nom));
    EditDescription->setText(QString::fromStdString(systeme->Description));
    const int nature = ComboNature->findText(QString::fromStdString(systeme->Nature()),
                                             Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (nature >= 0) ComboNature->setCurrentIndex(nature);
    ChangeNature();
    RemplitValeurs(*systeme);
  } else {
    EditNom->setText(QString::fromStdString(Donnees->NomPropose("Projection")));
    EditDescription->clear();
    ComboDatum->setCurrentIndex(0);
    ChangeNature();
    if (auto neuf = Cree(multiple, ComboNature->currentText().toStdString()))
      RemplitValeurs(*neuf);
  }
  EditNom->setFocus();
}

void TDlgProjection::ChangeNature() {
  const std::string nature = ComboNature->currentText().toStdString();
  const int n = NombreParametres(nature);
  GridParametre->setVisible(n != 0);
  Label5->setText(n != 0 ? QStringLiteral("&Propriétés") : QStringLiteral("Aucun paramètre"));
  GridParametre->setRowCount(std::max(n, 0));
  for (int j = 0; j < n; ++j) {
    auto* nom = new QTableWidgetItem(QString::fromStdString(NomParametre(nature, j)));
    nom->setFlags(nom->flags() & ~Qt::ItemIsEditable);
    GridParametre->setItem(j, 0, nom);
    GridParametre->setItem(j, 1, new QTableWidgetItem);
  }
}

void TDlgProjection::RemplitValeurs(const TAncetre& systeme) {
  for (int j = 0; j < systeme.NbParametres() && j < GridParametre->rowCount(); ++j) {
    const std::string texte = systeme.TexteParametre(j);
    GridParametre->item(j, 1)->setText(
        systeme.SorteParametre(j) != TAncetre::TSorte::Booleen ? QString::fromStdString(texte)
        : texte == "1"                                         ? QStringLiteral("OUI")
                                                               : QStringLiteral("NON"));
  }
}

bool TDlgProjection::LitGrille(TAncetre& systeme) {
  for (int rang = 0; rang < systeme.NbParametres(); ++rang) {
    const QTableWidgetItem* cellule = GridParametre->item(rang, 1);
    const QString texte = cellule ? cellule->text() : QString();
    const TAncetre::TSorte sorte = systeme.SorteParametre(rang);
    try {
      if (sorte != TAncetre::TSorte::Booleen) {
        systeme.EcritParametre(rang, texte.toStdString());
      } else {
        const QString mot = texte.toUpper();
        if (mot == QLatin1String("OUI") || mot == QLatin1String("1") || mot == QLatin1String("TRUE"))
          systeme.EcritParametre(rang, "1");
        else if (mot == QLatin1String("NON") || mot == QLatin1String("0") || mot == QLatin1String("FALSE"))
          systeme.EcritParametre(rang, "0");
        else
          throw ErreurConversion("Paramètre non booléen");
      }
    } catch (const std::exception&) {
      static constexpr const char* kExemples[] = {
          " n'est pas correct, exemple 6371235.36", " doit être entier, exemple 7",
          " doit être un angle, exemple 2°15'03.235''", " ne peut valoir que OUI ou NON"};
      const std::string nom = GridParametre->item(rang, 0)->text().toStdString();
      Informe("Le paramètre " + nom + kExemples[static_cast<int>(sorte)]);
      GridParametre->setFocus();
      GridParametre->setCurrentCell(rang, 1);
      return false;
    }
  }
  return true;
}

void TDlgProjection::accept() {
  if (!QuitteChamp()) return;
  std::unique_ptr<TAncetre> systeme = Cree(EstMultiple, ComboNature->currentText().toStdString());
  if (!systeme) return;
  systeme->Nom = EditNom->text().toStdString();
  systeme->Description = EditDescription->text().toStdString();
  systeme->Datum = reinterpret_cast<TDatum*>(ComboDatum->currentData().value<quintptr>());
  if (!LitGrille(*systeme)) return;
  try {
    // The derived constants; parameters that give none are refused here.
    systeme->SetValide(true);
  } catch (const std::exception& erreur) {
    Informe(erreur.what());
    return;
  }
  Resultat = std::move(systeme);
  QDialog::accept();
}

}  // namespace vestrel
