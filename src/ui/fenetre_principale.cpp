#include "ui/fenetre_principale.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QShortcut>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringList>
#include <QTranslator>
#include <QVBoxLayout>
#include <array>
#include <clocale>
#include <exception>
#include <tuple>

#include "catalogue/convertir.h"
#include "catalogue/fichier_ini.h"
#include "catalogue/lignes.h"
#include "ui/dial_fichier.h"
#include "tools/nombres.h"
#include "version.h"

namespace vestrel {

namespace {

QString Q(const std::string& texte) { return QString::fromStdString(texte); }

template <class T>
T* Nomme(T* controle, const char* nom) {
  controle->setObjectName(QString::fromLatin1(nom));
  return controle;
}

QLineEdit* Edition(const char* nom, const char* texte, QWidget* parent) {
  return Nomme(new QLineEdit(QString::fromUtf8(texte), parent), nom);
}

QLabel* Etiquette(const char* nom, const char* texte, QWidget* parent) {
  return Nomme(new QLabel(QString::fromUtf8(texte), parent), nom);
}

// The object names of one side of the window (source or destination), in
// the order of its controls: frame, "Nom" label, choice, "Description" label
// and edit, X label and edit, Y label and edit, "Fuseau" label and edit,
// "Paris" box.
using TNomsCote = std::array<const char*, 12>;
using TCote = std::tuple<QGroupBox*, QLabel*, QComboBox*, QLabel*, QLineEdit*, QLabel*,
                         QLineEdit*, QLabel*, QLineEdit*, QLabel*, QLineEdit*, QCheckBox*>;

// One side, laid out in its frame.
TCote CreeCote(QWidget* parent, const char* titre, const char* titreNom, const char* titreFuseau,
               const TNomsCote& n) {
  auto* cadre = Nomme(new QGroupBox(QString::fromUtf8(titre), parent), n[0]);
  TCote cote{cadre,
             Etiquette(n[1], titreNom, cadre),
             Nomme(new QComboBox(cadre), n[2]),
             Etiquette(n[3], "Description", cadre),
             Edition(n[4], "", cadre),
             Etiquette(n[5], "X", cadre),
             Edition(n[6], "0", cadre),
             Etiquette(n[7], "Y", cadre),
             Edition(n[8], "0", cadre),
             Etiquette(n[9], titreFuseau, cadre),
             Edition(n[10], "1", cadre),
             Nomme(new QCheckBox(QStringLiteral("Paris"), cadre), n[11])};
  auto [c, lNom, choix, lDescription, description, lX, x, lY, y, lFuseau, fuseau, paris] = cote;
  // The description is shown, not typed: read-only, selectable.
  description->setReadOnly(true);
  auto* grille = new QGridLayout(cadre);
  const std::pair<QLabel*, QWidget*> lignes[] = {
      {lNom, choix}, {lDescription, description}, {lX, x}, {lY, y}};
  int rang = 0;
  for (auto [etiquette, champ] : lignes) {
    etiquette->setBuddy(champ);
    grille->addWidget(etiquette, rang, 0);
    grille->addWidget(champ, rang++, 1, 1, 2);
  }
  lFuseau->setBuddy(fuseau);
  grille->addWidget(lFuseau, rang, 0);
  grille->addWidget(fuseau, rang, 1);
  grille->addWidget(paris, rang, 2);
  choix->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  choix->setMinimumContentsLength(18);
  return cote;
}

}  // namespace

bool InstalleTraductionQt() {
  static QTranslator* traduction = nullptr;
  if (traduction) return true;
  auto* chargee = new QTranslator(QCoreApplication::instance());
  if (!chargee->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete chargee;
    return false;
  }
  QCoreApplication::installTranslator(chargee);
  traduction = chargee;
  return true;
}

TForm1::TForm1(const TFichierIni& ini, TAfficheur afficheur, QWidget* parent)
    : QDialog(parent), ini_(ini), afficheur_(std::move(afficheur)) {
  InstalleTraductionQt();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Vestrel de coordonnées"));
  // System menu and minimise only; the size never changes.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  CreeControles();
  setFixedSize(QSize(509, 384).expandedTo(sizeHint()));
  if (QScreen* ecran = QGuiApplication::primaryScreen())
    move(ecran->availableGeometry().center() - rect().center());
  Button1->setFocus();
  Demarre();
}

TForm1::~TForm1() {
  // The catalogue goes back to "donnees.txt"; a failure is reported and the
  // program still ends.
  if (!donneesLaissees_) Commande([this] { EnregistreDonnees(TMomentSauvegarde::Fin); });
  Donnees.reset();
}

void TForm1::closeEvent(QCloseEvent* evenement) {
  bool ferme = true;
  if (ini_.AutoSave && Donnees && RemplacementADemander(*Donnees, ini_))
    Commande([&] { ferme = EnregistreDonnees(TMomentSauvegarde::Fermeture); });
  if (ferme)
    QDialog::closeEvent(evenement);
  else
    evenement->ignore();
}

bool TForm1::EnregistreDonnees(TMomentSauvegarde moment) {
  if (!ini_.AutoSave || !Donnees) return true;
  if (!RemplacementADemander(*Donnees, ini_)) {
    SauveALaSortie(*Donnees, ini_);
    return true;
  }
  for (;;) {
    const TChoixDonnees choix = Choix(Q(QuestionRemplacement(*Donnees, ini_, moment)));
    std::string autre;
    if (choix == TChoixDonnees::EnregistrerSous) {
      QFileDialog fichier(isVisible() ? this : nullptr, QStringLiteral("Enregistrer sous"));
      fichier.setObjectName(QStringLiteral("AutreFichier"));
      fichier.setAcceptMode(QFileDialog::AcceptSave);
      fichier.setNameFilters({QStringLiteral("Fichiers texte (*.txt)")});
      fichier.setDefaultSuffix(QStringLiteral("txt"));
      fichier.setOption(QFileDialog::DontUseNativeDialog);
      // Cancelled: the question again.
      if (fichier.exec() != QDialog::Accepted || fichier.selectedFiles().isEmpty()) continue;
      autre = fichier.selectedFiles().front().toStdString();
    }
    const std::vector<TRejet> rejets = AppliqueChoix(choix, Donnees, ini_, moment, autre);
    if (choix == TChoixDonnees::Recharger && moment != TMomentSauvegarde::Fin) {
      RemplitChoix();
      VideSorties();
      AfficheRejets(rejets);
    }
    if (choix == TChoixDonnees::EnregistrerSous && moment == TMomentSauvegarde::Fermeture)
      donneesLaissees_ = true;
    return choix != TChoixDonnees::Annuler;
  }
}

TChoixDonnees TForm1::Choix(const QString& texte) {
  QMessageBox question(QMessageBox::Question, QStringLiteral("Vestrel"), texte,
                       QMessageBox::NoButton, isVisible() ? this : nullptr);
  question.setObjectName(QStringLiteral("QuestionDonnees"));
  const std::pair<const char*, TChoixDonnees> boutons[] = {
      {"Recharger", TChoixDonnees::Recharger},
      {"Remplacer", TChoixDonnees::Remplacer},
      {"Enregistrer sous…", TChoixDonnees::EnregistrerSous}};
  std::vector<std::pair<QAbstractButton*, TChoixDonnees>> reponses;
  for (const auto& [titre, reponse] : boutons)
    reponses.emplace_back(question.addButton(QString::fromUtf8(titre), QMessageBox::ActionRole),
                          reponse);
  QPushButton* annuler = question.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  question.setDefaultButton(annuler);
  question.setEscapeButton(annuler);
  // Ended without an answer (the session ending): cancelled.
  question.exec();
  for (const auto& [bouton, reponse] : reponses)
    if (question.clickedButton() == bouton) return reponse;
  return TChoixDonnees::Annuler;
}

void TForm1::CreeControles() {
  std::tie(GroupBox1, Label9, ComboSource, Label10, EditDescription1, Label2, EditXSource, Label3,
           EditYSource, Label7, EditFuseauSource, CheckSourceParis) =
      CreeCote(this, "Départ", "&Nom", "&Fuseau",
               {"GroupBox1", "Label9", "ComboSource", "Label10", "EditDescription1", "Label2",
                "EditXSource", "Label3", "EditYSource", "Label7", "EditFuseauSource",
                "CheckSourceParis"});
  std::tie(GroupBox2, Label1, ComboDestination, Label11, EditDescription2, Label12, EditXDest,
           Label13, EditYDest, Label14, EditFuseauDest, CheckDestParis) =
      CreeCote(this, "Arrivée", "N&om", "Fu&seau",
               {"GroupBox2", "Label1", "ComboDestination", "Label11", "EditDescription2",
                "Label12", "EditXDest", "Label13", "EditYDest", "Label14", "EditFuseauDest",
                "CheckDestParis"});

  // The unit group: item i is the button of id i, the first one selected.
  RadioUnite = Nomme(new QGroupBox(QStringLiteral("&Unité"), this), "RadioUnite");
  ItemsUnite = new QButtonGroup(RadioUnite);
  auto* unites = new QVBoxLayout(RadioUnite);
  const char* const noms[] = {"degrés décimaux", "degrés minutes", "degrés minutes secondes",
                              "grades"};
  for (int i = 0; i < 4; ++i) {
    auto* bouton = new QRadioButton(QString::fromUtf8(noms[i]), RadioUnite);
    ItemsUnite->addButton(bouton, i);
    unites->addWidget(bouton);
  }
  ItemsUnite->button(0)->setChecked(true);

  auto* resultats = new QGridLayout;
  Label4 = Etiquette("Label4", "Convergence", this);
  EditConvergence = Edition("EditConvergence", "", this);
  Label5 = Etiquette("Label5", "Altération linéaire", this);
  EditAlteration = Edition("EditAlteration", "", this);
  Label8 = Etiquette("Label8", "Écart d'échelle", this);
  EditEcartEchelle = Edition("EditEcartEchelle", "", this);
  Label6 = Etiquette("Label6", "Méthode", this);
  EditMethode = Edition("EditMethode", "", this);
  Label6->setBuddy(EditMethode);
  resultats->addWidget(Label4, 0, 0);
  resultats->addWidget(EditConvergence, 1, 0);
  resultats->addWidget(Label5, 2, 0);
  resultats->addWidget(EditAlteration, 3, 0);
  resultats->addWidget(Label8, 4, 0);
  resultats->addWidget(EditEcartEchelle, 5, 0);
  resultats->addWidget(Label6, 6, 0);
  resultats->addWidget(EditMethode, 7, 0);
  resultats->setRowStretch(8, 1);
  // Results are read, selected and copied, never typed.
  for (QLineEdit* sortie : Sorties()) sortie->setReadOnly(true);
  EditFuseauDest->setToolTip(QStringLiteral(
      "Fuseau du point, ou fuseau imposé : tapez un numéro (videz le champ pour revenir au "
      "fuseau du point)"));

  // Two lines are kept for the warning so that the window's fixed size
  // holds it.
  LabelAvertissement = Etiquette("LabelAvertissement", "", this);
  LabelAvertissement->setWordWrap(true);
  LabelAvertissement->setMinimumHeight(2 * LabelAvertissement->fontMetrics().lineSpacing());
  LabelAvertissement->setStyleSheet(QStringLiteral("color: #b00000"));

  auto* boutons = new QVBoxLayout;
  Button1 = Nomme(new QPushButton(QStringLiteral("Paramètres ..."), this), "Button1");
  Button2 = Nomme(new QPushButton(QStringLiteral("Convertir"), this), "Button2");
  Button3 = Nomme(new QPushButton(QStringLiteral("Quitter"), this), "Button3");
  ButtonFichier = Nomme(new QPushButton(QStringLiteral("Convertir un f&ichier ..."), this),
                        "ButtonFichier");
  ButtonCopier = Nomme(new QPushButton(QStringLiteral("&Copier"), this), "ButtonCopier");
  Button2->setDefault(true);
  for (QPushButton* bouton : {Button1, Button2, ButtonCopier, ButtonFichier, Button3})
    boutons->addWidget(bouton);
  DlgFichier = new TDlgFichier(this);
  boutons->addStretch(1);

  auto* bas = new QHBoxLayout;
  bas->addWidget(RadioUnite);
  bas->addLayout(resultats, 1);
  bas->addLayout(boutons);
  auto* haut = new QHBoxLayout;
  haut->addWidget(GroupBox1);
  haut->addWidget(GroupBox2);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(haut);
  tout->addLayout(bas);
  tout->addWidget(LabelAvertissement);

  connect(ComboSource, &QComboBox::currentIndexChanged, this, &TForm1::MiseAJourSource);
  connect(ComboDestination, &QComboBox::currentIndexChanged, this,
          &TForm1::MiseAJourDestination);
  // Results of other systems would be read as this one's.
  for (QComboBox* choix : {ComboSource, ComboDestination})
    connect(choix, &QComboBox::currentIndexChanged, this, &TForm1::VideSorties);
  for (QCheckBox* paris : {CheckSourceParis, CheckDestParis})
    connect(paris, &QCheckBox::toggled, this, &TForm1::VideSorties);
  connect(Button1, &QPushButton::clicked, this, [this] { Commande([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { Commande([this] { Button2Click(); }); });
  connect(ButtonFichier, &QPushButton::clicked, this,
          [this] { Commande([this] { ButtonFichierClick(); }); });
  connect(Button3, &QPushButton::clicked, this, &QWidget::close);
  connect(ButtonCopier, &QPushButton::clicked, this, [this] { Commande([this] { Copie(); }); });
  // Ctrl+C copies the results from anywhere in the window, except from a
  // field where some text is selected, which copies that text.
  auto* copier = new QShortcut(QKeySequence::Copy, this);
  connect(copier, &QShortcut::activated, this, [this] { Commande([this] { Copie(); }); });
  for (QLineEdit* champ : findChildren<QLineEdit*>()) champ->installEventFilter(this);
}

std::vector<QLineEdit*> TForm1::Sorties() const {
  return {EditXDest, EditYDest, EditConvergence, EditAlteration, EditEcartEchelle, EditMethode};
}

void TForm1::VideSorties() {
  copie_.clear();
  for (QLineEdit* sortie : Sorties()) sortie->clear();
  LabelAvertissement->clear();
}

void TForm1::Demarre() {
  setWindowTitle(QString::fromStdString(
      "Vestrel de coordonnées - " + FormatD(VESTREL_VERSION_MAJEUR) + "." +
      FormatD(VESTREL_VERSION_MINEUR) + "." + FormatD(VESTREL_VERSION_CORRECTIF) + "." +
      FormatD(VESTREL_VERSION_CONSTRUCTION)));
  // "." as the decimal separator for the whole process; the engine writes
  // every number itself, Qt formats none.
  QLocale::setDefault(QLocale::c());
  std::setlocale(LC_NUMERIC, "C");
  Donnees = std::make_unique<TDonnees>();
  if (ini_.AutoSave) demarrage_ = ChargeAuDemarrage(*Donnees, ini_);
  occupation_ = std::make_unique<TOccupation>(ini_.Dossier);
  RemplitChoix();
  // Said now, before the user makes changes that could not be kept.
  if (!ini_.Probleme.empty())
    Affiche(QStringLiteral("Vestrel"),
            Q(ini_.Probleme + "\nLes réglages et les données ne pourront pas y être enregistrés."));
  if (occupation_->Partage && ini_.AutoSave)
    Affiche(QStringLiteral("Vestrel"), Q(TexteDossierPartage(ini_)));
  AfficheRejets(demarrage_.Rejets);
  for (const std::string& avertissement : demarrage_.Avertissements)
    Affiche(QStringLiteral("Vestrel"), Q(avertissement));
  if (demarrage_.Illisible)
    Affiche(QStringLiteral("Vestrel"),
            Q("Le fichier " + demarrage_.FichierCharge + " n'a pas pu être lu :\n" +
              *demarrage_.Illisible + "\nIl ne sera pas remplacé à la sortie."));
  // Grids named but not found or unreadable, all in one message.
  std::string grilles;
  for (const std::string& avertissement : Donnees->AvertissementsGrilles())
    grilles += (grilles.empty() ? "" : "\n") + avertissement;
  if (!grilles.empty()) Affiche(QStringLiteral("Vestrel"), Q(grilles));
}

void TForm1::AfficheRejets(const std::vector<TRejet>& rejets) {
  // Said once: the lines of "donnees.txt" the catalogue could not use stay
  // in it as they were and are written back at exit.
  if (!rejets.empty())
    Affiche(QStringLiteral("Vestrel"),
            Q("Lignes inutilisables de " + rejets.front().Fichier +
              ", gardées telles quelles dans le fichier :\n" + TexteRejets(rejets)));
}

void TForm1::RemplitChoix() {
  std::vector<std::string> noms;
  Donnees->ListeNoms(noms);
  QStringList liste;
  liste.reserve(static_cast<qsizetype>(noms.size()));
  for (const auto& nom : noms) liste.append(Q(nom));
  for (QComboBox* choix : {ComboSource, ComboDestination}) {
    const QSignalBlocker bloque(choix);
    choix->clear();
    choix->addItems(liste);
    choix->setCurrentIndex(0);
  }
  MiseAJourSource();
  MiseAJourDestination();
}

namespace {

// The labels and enabling of one side for the selected system: the index
// tells its kind (datums, then single-zone, then multi-zone systems).
void MiseAJourCote(const TDonnees& donnees, QComboBox* choix, QLineEdit* description,
                   QLabel* lX, QLabel* lY, QCheckBox* paris, QLineEdit* fuseau,
                   const char* easting, const char* northing, const char* latitude,
                   const char* longitude) {
  const int indice = choix->currentIndex();
  const auto datums = static_cast<int>(donnees.Datums.size());
  const auto projections = static_cast<int>(donnees.Projections.size());
  // Shown from its start, whole in the tooltip.
  const QString texte = Q(donnees.DescriptionDe(choix->currentText().toStdString()));
  description->setText(texte);
  description->setCursorPosition(0);
  description->setToolTip(texte);
  const bool projete = indice >= datums;
  lX->setText(QString::fromUtf8(projete ? easting : latitude));
  lY->setText(QString::fromUtf8(projete ? northing : longitude));
  paris->setEnabled(!projete);
  fuseau->setEnabled(indice >= datums + projections);
}

}  // namespace

void TForm1::MiseAJourSource() {
  MiseAJourCote(*Donnees, ComboSource, EditDescription1, Label2, Label3, CheckSourceParis,
                EditFuseauSource, "&Easting (m)", "No&rthing (m)", "&Latitude", "Lon&gitude");
}

void TForm1::MiseAJourDestination() {
  MiseAJourCote(*Donnees, ComboDestination, EditDescription2, Label12, Label13, CheckDestParis,
                EditFuseauDest, "Easting (m)", "Northing (m)", "Latitude", "Longitude");
}

void TForm1::Button1Click() {
  // With automatic saving, what the parameters window changed is saved as
  // soon as it closes: a session that ends without its exit (a lost display)
  // loses nothing the user confirmed.
  std::string avant;
  if (ini_.AutoSave) Donnees->SauveFlux(avant);
  if (MontreParametres) MontreParametres();
  RemplitChoix();
  VideSorties();
  if (ini_.AutoSave && Donnees) {
    std::string apres;
    Donnees->SauveFlux(apres);
    // A file that cannot be kept is not saved over: the exit says so.
    if (apres != avant && !demarrage_.Illisible) EnregistreDonnees(TMomentSauvegarde::Parametres);
  }
}

void TForm1::Button2Click() {
  TSaisieConversion saisie;
  saisie.Source = ComboSource->currentText().toStdString();
  saisie.Destination = ComboDestination->currentText().toStdString();
  saisie.IndiceSource = ComboSource->currentIndex();
  saisie.IndiceDestination = ComboDestination->currentIndex();
  // Blanks around a typed or pasted value are not part of it.
  saisie.XSource = EditXSource->text().trimmed().toStdString();
  saisie.YSource = EditYSource->text().trimmed().toStdString();
  saisie.FuseauSource = EditFuseauSource->text().trimmed().toStdString();
  saisie.FuseauSourceActif = EditFuseauSource->isEnabled();
  // The destination zone is the point's unless the user typed one: the zone
  // written back by a conversion is not a choice.
  const bool fuseauImpose = EditFuseauDest->isEnabled() && EditFuseauDest->isModified() &&
                            !EditFuseauDest->text().trimmed().isEmpty();
  if (fuseauImpose) saisie.FuseauDestination = EditFuseauDest->text().trimmed().toStdString();
  saisie.ParisSource = CheckSourceParis->isChecked();
  saisie.ParisDestination = CheckDestParis->isChecked();
  saisie.IndiceUnite = ItemsUnite->checkedId();

  TResultatConversion resultat;
  // A failed conversion leaves no result on screen: half of one, or the
  // previous point's, would be read as this point's.
  VideSorties();
  try {
    Convertir(*Donnees, saisie, resultat);
  } catch (...) {
    if (resultat.FocusFuseauSource) EditFuseauSource->setFocus();
    if (resultat.FocusFuseauDestination) EditFuseauDest->setFocus();
    throw;
  }
  const std::optional<std::string> fuseau = fuseauImpose ? std::nullopt : resultat.FuseauDest;
  const std::pair<const std::optional<std::string>&, QLineEdit*> sorties[] = {
      {resultat.XDest, EditXDest},
      {resultat.YDest, EditYDest},
      {resultat.Convergence, EditConvergence},
      {resultat.Alteration, EditAlteration},
      {resultat.EcartEchelle, EditEcartEchelle},
      {fuseau, EditFuseauDest},
      {resultat.Methode, EditMethode}};
  for (const auto& [texte, edit] : sorties)
    if (texte) {
      edit->setText(Q(*texte));
      edit->setCursorPosition(0);
    }
  // What "Copier" gives: the point as converted, whatever is typed later.
  const auto titre = [](const QLabel* etiquette) { return etiquette->text().remove(QLatin1Char('&')); };
  const auto fuseauDe = [](const QLineEdit* fuseau, const QCheckBox* paris) {
    return fuseau->isEnabled() ? fuseau->text().trimmed()
           : paris->isEnabled() && paris->isChecked() ? QStringLiteral("Paris") : QString();
  };
  const QStringList titres = {QStringLiteral("Départ"), titre(Label2), titre(Label3),
                              QStringLiteral("Fuseau"), QStringLiteral("Arrivée"), titre(Label12),
                              titre(Label13), QStringLiteral("Fuseau"), titre(Label4),
                              titre(Label5), titre(Label8), titre(Label6)};
  const QStringList valeurs = {ComboSource->currentText(), EditXSource->text().trimmed(),
                               EditYSource->text().trimmed(),
                               fuseauDe(EditFuseauSource, CheckSourceParis),
                               ComboDestination->currentText(), EditXDest->text(),
                               EditYDest->text(), fuseauDe(EditFuseauDest, CheckDestParis),
                               EditConvergence->text(), EditAlteration->text(),
                               EditEcartEchelle->text(), EditMethode->text()};
  copie_ = titres.join(QLatin1Char('\t')) + QLatin1Char('\n') + valeurs.join(QLatin1Char('\t')) +
           QLatin1Char('\n');
  // Beside the results, no box: the point is converted all the same.
  if (resultat.Avertissement && !resultat.Avertissement->empty())
    LabelAvertissement->setText(Q("Attention : " + *resultat.Avertissement));
}

void TForm1::ButtonFichierClick() {
  // The file is read as the window reads a typed point: the same systems,
  // unit, Paris meridian and source zone for lines without one.
  static constexpr int kUnites[] = {uaDegres, uaDM, uaDMS, uaGrades};
  TOptionsLignes options;
  const int unite = ItemsUnite->checkedId();
  options.Unite = kUnites[unite >= 0 && unite < 4 ? unite : 0];
  const TSystemeResolu source = Donnees->Resout(ComboSource->currentText().toStdString());
  const TSystemeResolu destination =
      Donnees->Resout(ComboDestination->currentText().toStdString());
  options.ParisDepart = source.Geographique() && CheckSourceParis->isChecked();
  options.ParisArrivee = destination.Geographique() && CheckDestParis->isChecked();
  int32_t zone = 0;
  if (source.Multiple && EssaieLitEntier(EditFuseauSource->text().trimmed().toStdString(), zone))
    options.Fuseau = zone;
  DlgFichier->Prepare(*Donnees, ComboSource->currentText().toStdString(),
                      ComboDestination->currentText().toStdString(), options);
  DlgFichier->exec();
}

void TForm1::Copie() {
  if (copie_.isEmpty())
    throw ErreurConversion("Rien à copier : convertissez d'abord un point");
  QGuiApplication::clipboard()->setText(copie_);
}

bool TForm1::eventFilter(QObject* objet, QEvent* evenement) {
  // A field takes Ctrl+C for its own selection; without one, the window copies.
  if (evenement->type() == QEvent::ShortcutOverride || evenement->type() == QEvent::KeyPress) {
    auto* touche = static_cast<QKeyEvent*>(evenement);
    auto* champ = qobject_cast<QLineEdit*>(objet);
    if (champ && touche->matches(QKeySequence::Copy) && !champ->hasSelectedText()) {
      if (evenement->type() == QEvent::KeyPress) Commande([this] { Copie(); });
      evenement->accept();
      return true;
    }
  }
  return QDialog::eventFilter(objet, evenement);
}

void TForm1::Commande(const std::function<void()>& commande) {
  try {
    commande();
  } catch (const std::exception& erreur) {
    Affiche(QStringLiteral("Vestrel"), QString::fromUtf8(erreur.what()));
  }
}

void TForm1::Affiche(const QString& titre, const QString& texte) {
  if (afficheur_)
    afficheur_(titre, texte);
  else
    QMessageBox::warning(isVisible() ? this : nullptr, titre, texte);
}

void TForm1::keyPressEvent(QKeyEvent* evenement) {
  // Escape does not close the main window; only "Quitter" and the title bar
  // do.
  if (evenement->key() == Qt::Key_Escape && evenement->modifiers() == Qt::NoModifier) {
    evenement->ignore();
    return;
  }
  QDialog::keyPressEvent(evenement);
}

}  // namespace vestrel
