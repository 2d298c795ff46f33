#include "ui/listing.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/autotest.h"
#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "catalogue/fichier_ini.h"
#include "tools/chemins.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

QPushButton* Bouton(const char* nom, const char* texte, QWidget* parent) {
  auto* bouton = new QPushButton(QString::fromUtf8(texte), parent);
  bouton->setObjectName(QString::fromLatin1(nom));
  return bouton;
}

// One tab: its list with the add, modify and delete buttons beside it.
QWidget* Onglet(QTabWidget* onglets, const char* nom, const char* titre, QListWidget*& liste,
                QPushButton*& ajoute, const char* nomAjoute, QPushButton*& modifie,
                const char* nomModifie, QPushButton*& supprime, const char* nomSupprime) {
  auto* page = new QWidget(onglets);
  page->setObjectName(QString::fromLatin1(nom));
  liste = new QListWidget(page);
  ajoute = Bouton(nomAjoute, "Ajouter ...", page);
  modifie = Bouton(nomModifie, "Modifier ...", page);
  supprime = Bouton(nomSupprime, "Supprimer ...", page);
  auto* boutons = new QVBoxLayout;
  for (QPushButton* bouton : {ajoute, modifie, supprime}) boutons->addWidget(bouton);
  boutons->addStretch(1);
  auto* disposition = new QHBoxLayout(page);
  disposition->addWidget(liste, 1);
  disposition->addLayout(boutons);
  onglets->addTab(page, QString::fromUtf8(titre));
  return page;
}

template <class T>
void RemplitListe(QListWidget* liste, const std::vector<std::unique_ptr<T>>& enregistrements) {
  liste->clear();
  for (const auto& e : enregistrements) {
    auto* element = new QListWidgetItem(QString::fromStdString(e->Nom), liste);
    element->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(e.get())));
  }
}

// The record of the selected entry and its position, or none.
template <class T>
T* Selection(QListWidget* liste, int* rang = nullptr) {
  const QList<QListWidgetItem*> choisis = liste->selectedItems();
  if (choisis.isEmpty()) return nullptr;
  if (rang) *rang = liste->row(choisis.front());
  return reinterpret_cast<T*>(choisis.front()->data(Qt::UserRole).value<quintptr>());
}

}  // namespace

TDlgParametre::TDlgParametre(std::unique_ptr<TDonnees>& donnees, TFichierIni& ini,
                             TAfficheur afficheur, QWidget* parent)
    : TDialogue("DlgParametre", "Paramètres", afficheur, parent), donnees_(donnees), ini_(ini) {
  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  TabSheet1 = Onglet(PageControl, "TabSheet1", "Ellipsoïdes", ListEllips, ButtonAjoutEllips,
                     "ButtonAjoutEllips", Button1, "Button1", Button2, "Button2");
  TabSheet2 = Onglet(PageControl, "TabSheet2", "Datums", ListDatum, ButtonAjoutDatum,
                     "ButtonAjoutDatum", Button4, "Button4", Button5, "Button5");
  TabSheet3 = Onglet(PageControl, "TabSheet3", "Projections simples", ListSimple,
                     ButtonAjoutProjection, "ButtonAjoutProjection", Button7, "Button7", Button8,
                     "Button8");
  TabSheet4 = Onglet(PageControl, "TabSheet4", "Projections multiples", ListMultiple,
                     ButtonAjoutMultiple, "ButtonAjoutMultiple", Button10, "Button10", Button11,
                     "Button11");
  ListEllips->setObjectName(QStringLiteral("ListEllips"));
  ListDatum->setObjectName(QStringLiteral("ListDatum"));
  ListSimple->setObjectName(QStringLiteral("ListSimple"));
  ListMultiple->setObjectName(QStringLiteral("ListMultiple"));

  CheckAutomatique = new QCheckBox(QStringLiteral("Chargement/sauvegarde automatiques"), this);
  CheckAutomatique->setObjectName(QStringLiteral("CheckAutomatique"));
  ButtonOuvrir = Bouton("ButtonOuvrir", "Ouvrir ...", this);
  ButtonEnregistrer = Bouton("ButtonEnregistrer", "Enregistrer ...", this);
  ButtonRAZ = Bouton("ButtonRAZ", "Réinitialiser", this);
  OKBtn = Bouton("OKBtn", "Fermer", this);
  OKBtn->setDefault(true);
  auto* bas = new QHBoxLayout;
  for (QPushButton* bouton : {ButtonOuvrir, ButtonEnregistrer, ButtonRAZ}) bas->addWidget(bouton);
  ButtonAutotest = Bouton("ButtonAutotest", "Autotest", this);
  ButtonAutotest->setToolTip(QStringLiteral("Convertit les points de référence publiés livrés avec le programme"));
  bas->addWidget(ButtonAutotest);
  bas->addStretch(1);
  bas->addWidget(OKBtn);
  auto* tout = new QVBoxLayout(this);
  tout->addWidget(PageControl, 1);
  tout->addWidget(CheckAutomatique);
  tout->addLayout(bas);
  resize(520, 360);

  const QStringList filtre = {QStringLiteral("Fichiers texte (*.txt)")};
  OpenDialog = new QFileDialog(this, QStringLiteral("Ouvrir"), QString::fromStdString(DossierProgramme()));
  OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
  OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog->setFileMode(QFileDialog::ExistingFile);
  SaveDialog = new QFileDialog(this, QStringLiteral("Enregistrer sous"));
  SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
  SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog->setFileMode(QFileDialog::AnyFile);
  for (QFileDialog* choix : {OpenDialog, SaveDialog}) {
    choix->setNameFilters(filtre);
    choix->setDefaultSuffix(QStringLiteral("txt"));
    choix->setOption(QFileDialog::DontUseNativeDialog);
  }

  DlgEllipsoide = new TDlgEllipsoide(afficheur, this);
  DlgDatum = new TDlgDatum(afficheur, this);
  DlgProjection = new TDlgProjection(afficheur, this);
  DlgImportation = new TDlgImportation(afficheur, this);

  auto relie = [this](QPushButton* bouton, auto action) {
    connect(bouton, &QPushButton::clicked, this, [this, action] { Commande(action); });
  };
  relie(ButtonAjoutEllips, [this] { Ellipsoide(true); });
  relie(Button1, [this] { Ellipsoide(false); });
  relie(Button2, [this] { SupprimeEllipsoide(); });
  relie(ButtonAjoutDatum, [this] { Datum(true); });
  relie(Button4, [this] { Datum(false); });
  relie(Button5, [this] { SupprimeDatum(); });
  relie(ButtonAjoutProjection, [this] { Systeme(true, false); });
  relie(Button7, [this] { Systeme(false, false); });
  relie(Button8, [this] { SupprimeSysteme(false); });
  relie(ButtonAjoutMultiple, [this] { Systeme(true, true); });
  relie(Button10, [this] { Systeme(false, true); });
  relie(Button11, [this] { SupprimeSysteme(true); });
  relie(ButtonOuvrir, [this] { Ouvrir(); });
  relie(ButtonEnregistrer, [this] { Enregistrer(); });
  relie(ButtonRAZ, [this] { Reinitialise(); });
  relie(ButtonAutotest, [this] { Autotest(); });
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  // A double click modifies the entry.
  connect(ListEllips, &QListWidget::itemDoubleClicked, Button1, &QPushButton::click);
  connect(ListDatum, &QListWidget::itemDoubleClicked, Button4, &QPushButton::click);
  connect(ListSimple, &QListWidget::itemDoubleClicked, Button7, &QPushButton::click);
  connect(ListMultiple, &QListWidget::itemDoubleClicked, Button10, &QPushButton::click);
  // The settings file is written at once.
  connect(CheckAutomatique, &QCheckBox::toggled, this, &TDlgParametre::AutomatiqueCoche);
}

void TDlgParametre::showEvent(QShowEvent* evenement) {
  TDialogue::showEvent(evenement);
  {
    const QSignalBlocker bloque(CheckAutomatique);
    CheckAutomatique->setChecked(ini_.AutoSave);
  }
  Remplit();
}

void TDlgParametre::Remplit() {
  RemplitListe(ListEllips, donnees_->Ellipsoides);
  RemplitListe(ListDatum, donnees_->Datums);
  RemplitListe(ListSimple, donnees_->Projections);
  RemplitListe(ListMultiple, donnees_->Multiples);
}

void TDlgParametre::Commande(const std::function<void()>& commande) {
  try {
    commande();
  } catch (const std::exception& erreur) {
    Informe(erreur.what());
  }
  Remplit();
}

void TDlgParametre::Ellipsoide(bool ajout) {
  TDonnees& donnees = *donnees_;
  auto copie = std::make_unique<TEllipsoide>();
  TEllipsoide* edite = nullptr;
  if (ajout) {
    copie->A = 6371000;
    copie->SetInverseAplatissement(287);
    copie->Nom = donnees.NomPropose("Ellipsoide");
  } else {
    int rang = -1;
    edite = Selection<TEllipsoide>(ListEllips, &rang);
    if (!edite) return Informe("Veuillez sélectionner l'ellipsoïde à modifier");
    if (rang == 0) return Informe("Vous n'êtes pas autorisé à modifier l'ellipsoïde GRS 80");
    copie->Assign(*edite);
  }
  DlgEllipsoide->Donnees = &donnees;
  DlgEllipsoide->Copie = copie.get();
  DlgEllipsoide->Edite = edite;
  if (DlgEllipsoide->exec() != QDialog::Accepted) return;
  // The catalogue brings the systems on an edited ellipsoid up to date.
  if (edite)
    donnees.RemplaceEllipsoide(*edite, *copie);
  else
    donnees.AjouteEllipsoide(std::move(copie));
}

void TDlgParametre::Datum(bool ajout) {
  TDonnees& donnees = *donnees_;
  auto copie = std::make_unique<TDatum>();
  TDatum* edite = nullptr;
  if (ajout) {
    copie->Ellipsoide = donnees.Ellipsoides.front().get();
    copie->Nom = donnees.NomPropose("Datum");
  } else {
    int rang = -1;
    edite = Selection<TDatum>(ListDatum, &rang);
    if (!edite) return Informe("Veuillez sélectionner le datum à modifier");
    if (rang == 0) return Informe("Vous n'êtes pas autorisé à modifier le datum WGS84");
    copie->Assign(*edite);
  }
  DlgDatum->Donnees = &donnees;
  DlgDatum->Copie = copie.get();
  DlgDatum->Edite = edite;
  if (DlgDatum->exec() != QDialog::Accepted) return;
  if (edite)
    donnees.RemplaceDatum(*edite, *copie);
  else
    donnees.AjouteDatum(std::move(copie));
}

void TDlgParametre::Systeme(bool ajout, bool multiple) {
  TDonnees& donnees = *donnees_;
  QListWidget* liste = multiple ? ListMultiple : ListSimple;
  TAncetre* edite = nullptr;
  if (!ajout) {
    edite = Selection<TAncetre>(liste);
    if (!edite) return Informe("Veuillez sélectionner la projection à modifier");
  }
  DlgProjection->Donnees = &donnees;
  DlgProjection->Initialise(edite, multiple);
  if (DlgProjection->exec() != QDialog::Accepted || !DlgProjection->Resultat) return;
  if (edite)
    donnees.RemplaceSysteme(*edite, std::move(DlgProjection->Resultat));
  else
    donnees.AjouteSysteme(std::move(DlgProjection->Resultat));
}

void TDlgParametre::SupprimeEllipsoide() {
  int rang = -1;
  const TEllipsoide* choisi = Selection<TEllipsoide>(ListEllips, &rang);
  if (!choisi) return Informe("Veuillez sélectionner l'ellipsoïde avant de le supprimer");
  if (rang == 0) return Informe("Vous n'êtes pas autorisé à supprimer l'ellipsoïde GRS 80");
  if (!Demande("Êtes-vous sûr de vouloir supprimer l'ellipsoïde " + choisi->Nom + " ?")) return;
  if (!donnees_->SupprimeEllipsoide(choisi->Nom))
    Informe("Impossible de supprimer cet ellipsoïde qui est utilisé par certains datums");
}

void TDlgParametre::SupprimeDatum() {
  int rang = -1;
  const TDatum* choisi = Selection<TDatum>(ListDatum, &rang);
  if (!choisi) return Informe("Veuillez sélectionner le datum avant de le supprimer");
  if (rang == 0) return Informe("Vous n'êtes pas autorisé à supprimer le datum WGS84");
  if (!Demande("Êtes-vous sûr de vouloir supprimer le datum " + choisi->Nom + " ?")) return;
  if (!donnees_->SupprimeDatum(choisi->Nom))
    Informe("Impossible de supprimer ce datum qui est utilisé par certaines projections.");
}

void TDlgParametre::SupprimeSysteme(bool multiple) {
  const TAncetre* choisi = Selection<TAncetre>(multiple ? ListMultiple : ListSimple);
  if (!choisi) return Informe("Veuillez sélectionner la projection avant de la supprimer");
  if (!Demande("Êtes-vous sûr de vouloir supprimer la projection " + choisi->Nom + " ?")) return;
  donnees_->SupprimeSysteme(*choisi);
}

void TDlgParametre::Ouvrir() {
  if (OpenDialog->exec() != QDialog::Accepted || OpenDialog->selectedFiles().isEmpty()) return;
  const std::string fichier = OpenDialog->selectedFiles().front().toStdString();
  try {
    DlgImportation->Initialise(fichier);
  } catch (const std::exception&) {
    return Informe("Problème de lecture du fichier " + fichier);
  }
  if (DlgImportation->exec() != QDialog::Accepted) return;
  TDonnees& donnees = *donnees_;
  if (DlgImportation->CheckTout->isChecked()) {
    // Line by line as the list shows them: a failing line does not stop the
    // others, and the user learns each one.
    std::vector<TRejet> rejets;
    try {
      rejets = donnees.ChargeLignes(fichier, false);
    } catch (const std::exception&) {
      return Informe("Problème de lecture du fichier " + fichier);
    }
    if (!donnees.LignesNotees.empty()) Informe(TexteNotees(donnees.LignesNotees));
    if (!rejets.empty()) Informe("Lignes non importées :\n" + TexteRejets(rejets));
    return;
  }
  // Each chosen line on its own; a line that fails does not stop the others.
  std::string refus;
  for (const std::string& ligne : DlgImportation->LignesCochees()) {
    try {
      donnees.AjouteLigne(ligne);
    } catch (const Erreur& erreur) {
      refus += "\n" + ligne + " : " + erreur.what();
    }
  }
  if (!refus.empty()) Informe("Lignes non importées :" + refus);
}

void TDlgParametre::Enregistrer() {
  if (SaveDialog->exec() != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty()) return;
  const std::string fichier = SaveDialog->selectedFiles().front().toStdString();
  try {
    donnees_->SauveFichier(fichier);
  } catch (const std::exception&) {
    Informe("Problème à l'enregistrement des données dans " + fichier);
  }
}

void TDlgParametre::Reinitialise() {
  const size_t nombre = donnees_->NombreEnregistrements();
  if (nombre > 0 &&
      !DemandeOuiNon(nombre == 1 ? std::string("Réinitialiser les données ? L'enregistrement du "
                                               "catalogue sera supprimé.")
                                 : "Réinitialiser les données ? Les " + FormatD(static_cast<long long>(nombre)) +
                                       " enregistrements du catalogue seront supprimés."))
    return;
  // The editors keep no pointer into the catalogue between two showings.
  donnees_->Reinitialise();
}

void TDlgParametre::AutomatiqueCoche(bool coche) {
  ini_.SetAutoSave(coche);
  if (!coche) return;
  // The catalogue may not come from "donnees.txt" (automatic loading was
  // off at start): the user chooses now whether to load it, since the exit
  // save would replace it.
  const std::string chemin = CheminDonnees(ini_);
  if (donnees_->Origine == chemin || !FichierExiste(chemin)) return;
  if (!DemandeOuiNon("Charger maintenant les données de " + chemin +
                     " ?\nSinon, elles ne seront remplacées par le catalogue actuel qu'avec "
                     "votre accord."))
    return;
  Commande([this] {
    const std::vector<TRejet> rejets = ChargeDonnees(*donnees_, ini_);
    if (!rejets.empty())
      Informe("Lignes inutilisables, gardées telles quelles :\n" + TexteRejets(rejets));
  });
}

void TDlgParametre::Autotest() {
  const TAutotest autotest = vestrel::Autotest(*donnees_, CheminDonneesProgramme(kFichierAutotest));
  std::string texte = TexteBilan(autotest);
  for (const TPointAutotest& point : autotest.Points)
    if (point.Etat != TPointAutotest::Reussi) texte += "\n" + TextePoint(point);
  Informe(texte);
}

}  // namespace vestrel
