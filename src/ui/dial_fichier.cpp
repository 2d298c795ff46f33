#include "ui/dial_fichier.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

#include "tools/nombres.h"

namespace vestrel {

namespace {

constexpr int kLignesApercu = 10;

template <class T>
T* Nomme(T* controle, const char* nom) {
  controle->setObjectName(QString::fromLatin1(nom));
  return controle;
}

// A column number from 1; 0 means none for the optional ones.
QSpinBox* Colonne(const char* nom, int valeur, int minimum, QWidget* parent) {
  auto* spin = Nomme(new QSpinBox(parent), nom);
  spin->setRange(minimum, 64);
  spin->setValue(valeur);
  if (minimum == 0) spin->setSpecialValueText(QStringLiteral("aucune"));
  return spin;
}

QString Q(const std::string& texte) { return QString::fromStdString(texte); }

}  // namespace

TDlgFichier::TDlgFichier(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DlgFichier"));
  setWindowTitle(QStringLiteral("Convertir un fichier"));
  setModal(true);

  EditFichier = Nomme(new QLineEdit(this), "EditFichier");
  EditFichier->setReadOnly(true);
  ButtonChoisir = Nomme(new QPushButton(QStringLiteral("&Choisir ..."), this), "ButtonChoisir");
  Apercu = Nomme(new QPlainTextEdit(this), "Apercu");
  Apercu->setReadOnly(true);
  Apercu->setLineWrapMode(QPlainTextEdit::NoWrap);
  Apercu->setMaximumBlockCount(kLignesApercu);

  auto* lecture = new QGroupBox(QStringLiteral("Lecture"), this);
  SpinId = Colonne("SpinId", 0, 0, lecture);
  SpinX = Colonne("SpinX", 1, 1, lecture);
  SpinY = Colonne("SpinY", 2, 1, lecture);
  SpinFuseau = Colonne("SpinFuseau", 0, 0, lecture);
  ComboSeparateur = Nomme(new QComboBox(lecture), "ComboSeparateur");
  ComboSeparateur->addItems({QStringLiteral("blancs, tabulations et « ; »"),
                             QStringLiteral("« ; »"), QStringLiteral("tabulations"),
                             QStringLiteral("blancs")});
  ComboAngles = Nomme(new QComboBox(lecture), "ComboAngles");
  ComboAngles->addItems({QStringLiteral("textes d'angle (48°51'24'', 48.5°)"),
                         QStringLiteral("nombres de degrés décimaux"),
                         QStringLiteral("nombres de grades")});
  CheckVirgule = Nomme(new QCheckBox(QStringLiteral("&Virgule décimale"), lecture), "CheckVirgule");
  CheckDetails = Nomme(new QCheckBox(QStringLiteral("Convergence et &altération"), lecture),
                       "CheckDetails");
  auto* colonnes = new QGridLayout(lecture);
  const std::pair<const char*, QWidget*> champs[] = {
      {"&Identifiant", SpinId}, {"&X", SpinX}, {"&Y", SpinY}, {"&Fuseau", SpinFuseau},
      {"&Séparateur", ComboSeparateur}, {"A&ngles", ComboAngles}};
  int rang = 0;
  for (const auto& [texte, champ] : champs) {
    auto* etiquette = new QLabel(QString::fromUtf8(texte), lecture);
    etiquette->setBuddy(champ);
    colonnes->addWidget(etiquette, rang / 2, (rang % 2) * 2);
    colonnes->addWidget(champ, rang / 2, (rang % 2) * 2 + 1);
    ++rang;
  }
  colonnes->addWidget(CheckVirgule, 3, 0, 1, 2);
  colonnes->addWidget(CheckDetails, 3, 2, 1, 2);

  EditResultat = Nomme(new QLineEdit(this), "EditResultat");
  EditResultat->setReadOnly(true);
  Progression = Nomme(new QProgressBar(this), "Progression");
  Progression->setRange(0, 100);
  Progression->setValue(0);
  Bilan = Nomme(new QPlainTextEdit(this), "Bilan");
  Bilan->setReadOnly(true);
  Bilan->setLineWrapMode(QPlainTextEdit::NoWrap);

  ButtonConvertir = Nomme(new QPushButton(QStringLiteral("Con&vertir"), this), "ButtonConvertir");
  ButtonAnnuler = Nomme(new QPushButton(QStringLiteral("&Annuler"), this), "ButtonAnnuler");
  ButtonFermer = Nomme(new QPushButton(QStringLiteral("Fermer"), this), "ButtonFermer");
  ButtonConvertir->setDefault(true);
  ButtonConvertir->setEnabled(false);
  ButtonAnnuler->setEnabled(false);

  auto* fichier = new QHBoxLayout;
  auto* etiquetteFichier = new QLabel(QStringLiteral("Fichier"), this);
  fichier->addWidget(etiquetteFichier);
  fichier->addWidget(EditFichier, 1);
  fichier->addWidget(ButtonChoisir);
  auto* resultat = new QHBoxLayout;
  resultat->addWidget(new QLabel(QStringLiteral("Résultat"), this));
  resultat->addWidget(EditResultat, 1);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  for (QPushButton* b : {ButtonConvertir, ButtonAnnuler, ButtonFermer}) boutons->addWidget(b);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(fichier);
  tout->addWidget(new QLabel(QStringLiteral("Premières lignes"), this));
  tout->addWidget(Apercu, 1);
  tout->addWidget(lecture);
  tout->addLayout(resultat);
  tout->addWidget(Progression);
  tout->addWidget(Bilan, 1);
  tout->addLayout(boutons);
  resize(620, 560);

  connect(ButtonChoisir, &QPushButton::clicked, this, &TDlgFichier::Choisir);
  connect(ButtonConvertir, &QPushButton::clicked, this, &TDlgFichier::Lance);
  connect(ButtonAnnuler, &QPushButton::clicked, this, &TDlgFichier::Annule);
  connect(ButtonFermer, &QPushButton::clicked, this, &TDlgFichier::reject);
}

TDlgFichier::~TDlgFichier() {
  if (travail_) {
    annuler_ = true;
    travail_->wait();
  }
}

void TDlgFichier::Prepare(const TDonnees& donnees, const std::string& source,
                          const std::string& destination, const TOptionsLignes& options) {
  donnees_ = &donnees;
  source_ = donnees.Resout(source);
  destination_ = donnees.Resout(destination);
  base_ = options;
  ComboAngles->setEnabled(source_.Geographique());
  Progression->setValue(0);
  Bilan->clear();
}

void TDlgFichier::Choisir() {
  QFileDialog choix(this, QStringLiteral("Fichier de points"));
  choix.setObjectName(QStringLiteral("OpenDialogPoints"));
  choix.setOption(QFileDialog::DontUseNativeDialog);
  choix.setFileMode(QFileDialog::ExistingFile);
  choix.setNameFilters({QStringLiteral("Fichiers de points (*.txt *.csv *.xyz)"),
                        QStringLiteral("Tous les fichiers (*)")});
  if (!EditFichier->text().isEmpty()) choix.selectFile(EditFichier->text());
  if (choix.exec() == QDialog::Accepted && !choix.selectedFiles().isEmpty())
    ChoisitFichier(choix.selectedFiles().front());
}

void TDlgFichier::ChoisitFichier(const QString& chemin) {
  EditFichier->setText(chemin);
  EditResultat->setText(Q(CheminConverti(chemin.toStdString())));
  Apercu->clear();
  Bilan->clear();
  Progression->setValue(0);
  try {
    for (const std::string& ligne : PremieresLignes(chemin.toStdString(), kLignesApercu))
      Apercu->appendPlainText(Q(ligne));
    Apercu->moveCursor(QTextCursor::Start);
    // A ";" in the first lines suggests that separator and its decimal commas.
    if (Apercu->toPlainText().contains(QLatin1Char(';'))) ComboSeparateur->setCurrentIndex(1);
    ButtonConvertir->setEnabled(true);
  } catch (const std::exception& e) {
    Bilan->setPlainText(QString::fromUtf8(e.what()));
    ButtonConvertir->setEnabled(false);
  }
}

TOptionsLignes TDlgFichier::Options() const {
  TOptionsLignes options = base_;
  options.Id = false;
  options.Colonnes = TColonnes{SpinId->value() - 1, SpinX->value() - 1, SpinY->value() - 1,
                               SpinFuseau->value() - 1};
  static constexpr TSeparateur kSeparateurs[] = {TSeparateur::Tous, TSeparateur::PointVirgule,
                                                 TSeparateur::Tabulation, TSeparateur::Blancs};
  options.Separateur = kSeparateurs[std::max(0, ComboSeparateur->currentIndex())];
  static constexpr TFormatAngles kAngles[] = {TFormatAngles::Textes, TFormatAngles::Degres,
                                              TFormatAngles::Grades};
  options.Angles = source_.Geographique() ? kAngles[std::max(0, ComboAngles->currentIndex())]
                                          : TFormatAngles::Textes;
  options.VirguleDecimale = CheckVirgule->isChecked();
  options.Details = CheckDetails->isChecked();
  return options;
}

void TDlgFichier::Lance() {
  if (travail_ || !donnees_ || EditFichier->text().isEmpty()) return;
  Bilan->clear();
  if (!source_.Trouve() || !destination_.Trouve()) {
    Bilan->setPlainText(QStringLiteral("Système de départ ou d'arrivée inconnu"));
    return;
  }
  options_ = Options();
  const TColonnes& c = *options_.Colonnes;
  const int numeros[] = {c.X, c.Y, c.Id, c.Fuseau};
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      if (numeros[i] >= 0 && numeros[i] == numeros[j]) {
        Bilan->setPlainText(QStringLiteral("Une colonne est choisie deux fois."));
        return;
      }
  entree_ = EditFichier->text().toStdString();
  sortie_ = EditResultat->text().toStdString();
  if (QFileInfo::exists(EditResultat->text()) &&
      QMessageBox::question(this, QStringLiteral("Vestrel"),
                            QStringLiteral("Le fichier %1 existe déjà.\nLe remplacer ?")
                                .arg(EditResultat->text()),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    return;

  annuler_ = false;
  pourcent_ = 0;
  bilan_ = {};
  erreur_.clear();
  Progression->setValue(0);
  for (QWidget* w : std::initializer_list<QWidget*>{ButtonConvertir, ButtonChoisir, ButtonFermer})
    w->setEnabled(false);
  ButtonAnnuler->setEnabled(true);
  travail_ = QThread::create([this] {
    try {
      bilan_ = ConvertitFichier(options_, source_, destination_, entree_, sortie_,
                                [this](uint64_t lus, uint64_t taille) {
                                  const int p = taille ? static_cast<int>(lus * 100 / taille) : 0;
                                  if (p != pourcent_.exchange(p))
                                    QMetaObject::invokeMethod(
                                        this, [this] { Progression->setValue(pourcent_); },
                                        Qt::QueuedConnection);
                                  return !annuler_;
                                });
    } catch (const std::exception& e) {
      erreur_ = QString::fromUtf8(e.what());
    }
  });
  connect(travail_, &QThread::finished, this, &TDlgFichier::Fin);
  travail_->start();
}

void TDlgFichier::Annule() {
  if (travail_) annuler_ = true;
}

void TDlgFichier::Fin() {
  if (!travail_) return;
  travail_->wait();
  delete travail_;
  travail_ = nullptr;
  ButtonAnnuler->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{ButtonConvertir, ButtonChoisir, ButtonFermer})
    w->setEnabled(true);
  MontreBilan();
  emit Termine();
}

void TDlgFichier::MontreBilan() {
  const QString sortie = Q(sortie_);
  if (!erreur_.isEmpty()) {
    Progression->setValue(0);
    Bilan->setPlainText(QStringLiteral("Échec de la conversion : %1\nAucun fichier n'a été écrit.")
                            .arg(erreur_));
    return;
  }
  if (bilan_.Annule) {
    Progression->setValue(0);
    Bilan->setPlainText(QStringLiteral("Conversion annulée : aucun fichier n'a été écrit."));
    return;
  }
  Progression->setValue(100);
  QString texte = QStringLiteral("%1 point(s) converti(s) dans %2 ; %3 ligne(s) en échec.")
                      .arg(Q(FormatD(static_cast<long long>(bilan_.Converties))), sortie,
                           Q(FormatD(static_cast<long long>(bilan_.Echouees))));
  for (const TEchecLigne& e : bilan_.Echecs)
    texte += QStringLiteral("\nligne %1 : %2")
                 .arg(Q(FormatD(static_cast<long long>(e.Ligne))), QString::fromUtf8(e.Message));
  if (bilan_.Echouees > bilan_.Echecs.size())
    texte += QStringLiteral("\n... et %1 autre(s)")
                 .arg(Q(FormatD(static_cast<long long>(bilan_.Echouees - bilan_.Echecs.size()))));
  Bilan->setPlainText(texte);
}

void TDlgFichier::reject() {
  // Closing the dialog cancels a run in progress and waits for its end.
  if (travail_) {
    annuler_ = true;
    travail_->wait();
    Fin();
  }
  QDialog::reject();
}

}  // namespace vestrel
