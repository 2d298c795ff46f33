// The windows under abuse: random texts (empty, huge, binary, unit marks,
// commas, signs, quotes) typed into every field of the main window and of the
// editors, random choices, and every button pressed. The program answers with
// its messages, never crashes, never shows a number that is not one, and the
// catalogue it ends with still saves and reads back.
#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <random>

#include "../commun/empreinte.h"
#include "banc_fenetre.h"
#include "catalogue/donnee.h"

using namespace vestrel;
using namespace vestrel::pilote;

namespace {

using Alea = std::mt19937;

int Hasard(Alea& alea, int n) { return n <= 0 ? 0 : static_cast<int>(alea() % static_cast<unsigned>(n)); }

// Pieces of texts a hurried or careless user types.
const char16_t* const kMorceaux[] = {
    u"°", u"'", u"''", u"g", u"G", u"\"", u"-", u"+", u",", u".", u"e", u"E", u"0", u"12",
    u"46", u"3", u"1e308", u"1e-320", u"nan", u"inf", u" ", u"\t", u"²", u"€", u"Ω", u"\u00ad",
    u"99999999999", u"-2147483648", u"#", u";", u"\\", u"ÿ", u"*"};
const char16_t* const kPlausibles[] = {
    u"46°10'", u"3°20'12.5''", u"-0°30'", u"12.5°", u"51g", u"0", u"600000", u"2200000",
    u"12,5", u"46°10,5'", u"31", u"-31", u"0.9996", u"6378137", u"0.08181919106",
    u"2°20'14.025''", u"-1e6", u"1e15", u"90°", u"-90°", u"180°", u"89°59'59.999''"};

QString TexteAuHasard(Alea& alea) {
  QString t;
  const int morceaux = Hasard(alea, 40);
  switch (Hasard(alea, 10)) {
    case 0: break;
    case 1: t.fill(QChar(u"9-°'e"[Hasard(alea, 5)]), 20000 + Hasard(alea, 50000)); break;
    case 2:  // any UTF-16 units, lone surrogates and NUL included
      for (int i = morceaux; i >= 0; --i) t += QChar(static_cast<char16_t>(alea()));
      break;
    case 3:  // any bytes, as Latin-1
      for (int i = morceaux; i >= 0; --i) t += QChar(static_cast<uchar>(alea()));
      break;
    case 4: case 5: case 6:
      for (int i = morceaux / 5; i >= 0; --i) t += QString::fromUtf16(kMorceaux[Hasard(alea, std::size(kMorceaux))]);
      break;
    default: t = QString::fromUtf16(kPlausibles[Hasard(alea, std::size(kPlausibles))]);
  }
  return t;
}

QList<QLineEdit*> ChampsSaisissables(QWidget* fenetre) {
  QList<QLineEdit*> champs;
  for (QLineEdit* champ : fenetre->findChildren<QLineEdit*>())
    if (champ->isVisible() && champ->isEnabled() && !champ->isReadOnly()) champs << champ;
  return champs;
}

void ChoisitAuHasard(QComboBox* choix, Alea& alea) {
  if (!choix->isEnabled() || choix->count() == 0) return;
  const int i = Hasard(alea, choix->count());
  choix->setCurrentIndex(i);
  emit choix->activated(i);
}

}  // namespace

class TestAbus : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBancFenetre> banc_;
  Alea alea_{20261206};

  // Every message is titled and says something.
  void VerifieMessages() {
    for (const QString& message : banc_->Messages) {
      const int separateur = message.indexOf(QStringLiteral(" | "));
      QVERIFY2(separateur > 0 && message.size() > separateur + 3, qPrintable(message));
    }
  }

  // The catalogue writes a text that a fresh catalogue reads whole and
  // writes the same.
  static void VerifieCatalogue(const TDonnees& donnees) {
    const std::string texte = essai::TexteSauve(donnees);
    QVERIFY(RepresentableWin1252(texte));
    TDonnees relu;
    TFlux flux(texte);
    try {
      relu.ChargeFlux(flux);
    } catch (const Erreur& e) {
      QFAIL(qPrintable(QStringLiteral("le catalogue ne se relit pas : ") + QString::fromStdString(e.what())));
    }
    QCOMPARE(essai::TexteSauve(relu), texte);
  }

  // Random texts in every field of an editor, random choices, then OK or
  // "Annuler"; an editor that refuses OK is cancelled.
  void Malmene(TDialogue* d) {
    if (auto* p = qobject_cast<TDlgProjection*>(d)) {
      ChoisitAuHasard(p->ComboNature, alea_);
      ChoisitAuHasard(p->ComboDatum, alea_);
      for (int rang = 0; rang < p->GridParametre->rowCount(); ++rang)
        if (QTableWidgetItem* cellule = p->GridParametre->item(rang, 1))
          cellule->setText(Hasard(alea_, 4) ? TexteAuHasard(alea_) : QStringLiteral("0"));
    }
    if (auto* datum = qobject_cast<TDlgDatum*>(d)) {
      ChoisitAuHasard(datum->ComboEllipsoide, alea_);
      if (Hasard(alea_, 3) == 0) Clique(datum->CheckSept);
      if (Hasard(alea_, 6) == 0) {
        const QString grille = TexteAuHasard(alea_).left(200);
        Dialogue<QFileDialog>(datum->ButtonGrille, [&](QFileDialog* choix) {
          Choisit(choix, banc_->Racine(), grille, true);
        });
      }
    }
    for (QLineEdit* champ : ChampsSaisissables(d))
      if (Hasard(alea_, 4)) Saisit(champ, TexteAuHasard(alea_));
    Clique(Hasard(alea_, 3) ? d->OKBtn : d->CancelBtn);
    if (d->isVisible()) Clique(d->CancelBtn);
    if (d->isVisible()) d->reject();
  }

 private slots:
  void init() { banc_ = std::make_unique<TBancFenetre>(); }
  void cleanup() { banc_.reset(); }

  void fenetrePrincipale() {
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    Montre(&f);
    const QList<QAbstractButton*> unites = f.ItemsUnite->buttons();
    int conversions = 0;
    const QRegularExpression douteux(QStringLiteral("nan|inf"), QRegularExpression::CaseInsensitiveOption);
    for (int tour = 0; tour < 300; ++tour) {
      ChoisitAuHasard(f.ComboSource, alea_);
      ChoisitAuHasard(f.ComboDestination, alea_);
      for (QCheckBox* paris : {f.CheckSourceParis, f.CheckDestParis})
        if (paris->isVisible() && paris->isEnabled() && Hasard(alea_, 3) == 0) Clique(paris);
      if (!unites.isEmpty()) unites[Hasard(alea_, unites.size())]->click();
      for (QLineEdit* champ : ChampsSaisissables(&f)) Saisit(champ, TexteAuHasard(alea_));
      // One round in three types a sound point of WGS84, so that conversions
      // also succeed amid the noise.
      if (tour % 3 == 0) {
        f.ComboSource->setCurrentIndex(0);
        Saisit(f.EditXSource, QStringLiteral("46°10'"));
        Saisit(f.EditYSource, QStringLiteral("3°20'"));
      }
      const qsizetype messages = banc_->Messages.size();
      const bool clic = Hasard(alea_, 4) != 0;
      if (clic)
        Clique(f.Button2);  // "Convertir"
      else
        QTest::keyClick(f.EditYSource, Qt::Key_Return);
      QVERIFY(f.isVisible());
      // A conversion without message wrote every output itself.
      if (!clic || banc_->Messages.size() > messages) continue;
      ++conversions;
      for (QLineEdit* sortie : {f.EditXDest, f.EditYDest, f.EditConvergence, f.EditAlteration})
        QVERIFY2(!sortie->text().isEmpty() && !sortie->text().contains(douteux),
                 qPrintable(sortie->objectName() + " : " + sortie->text()));
    }
    QVERIFY(!banc_->Messages.isEmpty());
    QVERIFY(conversions > 10);
    VerifieMessages();
    VerifieCatalogue(*f.Donnees);
  }

  void editeurs() {
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    TDlgParametre* p = banc_->Parametres();
    Montre(p);

    // Per tab: its list (the entry chosen before a change or a deletion),
    // "Ajouter ...", "Modifier ..." and "Supprimer".
    const std::tuple<QListWidget*, QPushButton*, QPushButton*, QPushButton*> onglets[] = {
        {p->ListEllips, p->ButtonAjoutEllips, p->Button1, p->Button2},
        {p->ListDatum, p->ButtonAjoutDatum, p->Button4, p->Button5},
        {p->ListSimple, p->ButtonAjoutProjection, p->Button7, p->Button8},
        {p->ListMultiple, p->ButtonAjoutMultiple, p->Button10, p->Button11}};
    int editions = 0;
    for (int tour = 0; tour < 160; ++tour) {
      const auto& [liste, ajout, modifie, supprime] = onglets[Hasard(alea_, std::size(onglets))];
      const int action = Hasard(alea_, 3);  // add, change, delete
      if (action > 0) {
        p->PageControl->setCurrentWidget(liste->parentWidget());
        const int n = liste->count();
        liste->setCurrentRow(n > 0 && Hasard(alea_, 8) ? Hasard(alea_, n) : -1);
      }
      if (action == 2) {
        const bool confirme = Hasard(alea_, 2);
        Dialogue<QMessageBox>(supprime, [&](QMessageBox* question) {
          question->done(confirme ? QDialog::Accepted : QDialog::Rejected);
        });
      } else if (Dialogue<TDialogue>(action ? modifie : ajout, [&](TDialogue* d) { Malmene(d); })) {
        ++editions;
      }
      QVERIFY(p->isVisible());
    }
    QVERIFY(editions > 50);
    VerifieMessages();
    VerifieCatalogue(*f.Donnees);
    occupes.remove(p);
    p->accept();

    // The main window takes the catalogue back and converts.
    f.RemplitChoix();
    Clique(f.Button2);
  }
};

QTEST_MAIN(TestAbus)
#include "abus_test.moc"
