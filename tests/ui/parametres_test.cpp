// The parameters window and its editors on the offscreen platform: the modal
// dialogs are driven from inside their own event loops, real files in a
// temporary folder.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>

#include "banc_fenetre.h"
#include "catalogue/donnee.h"
#include "systems/createur.h"
#include "tools/chemins.h"
#include "tools/nombres.h"
#include "ui/listing.h"

using namespace vestrel;

namespace {

const char* const kCatalogue =
    "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 IGN\" 6378249.2 0.0824832567634\r\n"
    "Ellipsoide=\"Sphère\" \"Sphère de rayon 6370997\" 6370997 0\r\n"
    "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n"
    "Datum=\"ED 7p\" \"Sept paramètres\" \"GRS 80\" -84 -97 -117 0.123456789 -0.2 0.3 1.5\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"Plate carrée\" \"Carte du monde\" \"NTF\"\r\n"
    "Projection \"UTM Fuseau\"=\"UTM 31\" \"\" \"WGS84\" 31 0\r\n"
    "Multiple \"Transverse Mercator Multiple\"=\"TM 3\" \"\" \"WGS84\" 0.9999 500000 0 10000000 "
    "-177° 6°\r\n";

// Acts on the next modal dialog of type T from inside its event loop. The
// action gets the dialog once it is active and must close it; a dialog left
// open is rejected after a while so that nothing hangs. A dialog another
// action is busy with is not the next one. Nothing happens when no such
// dialog opens before this object goes out of scope.
QSet<QDialog*> occupes;

template <class T = QDialog>
class TModal {
 public:
  explicit TModal(std::function<void(T*)> action) : action_(std::move(action)) { Attend(0); }
  bool Vu = false;

 private:
  void Attend(int delai) {
    QTimer::singleShot(delai, &contexte_, [this] {
      auto* dialogue = qobject_cast<T*>(QApplication::activeModalWidget());
      if (!dialogue || occupes.contains(dialogue)) return Attend(5);
      Vu = true;
      occupes.insert(dialogue);
      QTimer::singleShot(20000, dialogue, [dialogue] { dialogue->reject(); });
      // A dialog shares its parent's activation (isActiveWindow): wait for
      // the focus window itself.
      dialogue->activateWindow();
      if (!QTest::qWaitFor([dialogue] { return QApplication::activeWindow() == dialogue; }))
        qWarning("fenêtre modale inactive");
      action_(dialogue);
      occupes.remove(dialogue);
    });
  }
  std::function<void(T*)> action_;
  QObject contexte_;
};

// Replaces the text of a field and leaves it with Tab, as the user does.
void Saisit(QLineEdit* champ, const QString& texte) {
  champ->setFocus(Qt::TabFocusReason);
  champ->selectAll();
  QTest::keyClick(champ, Qt::Key_Delete);
  champ->insert(texte);  // as typed (QTest types Latin-1 only)
  QTest::keyClick(champ, Qt::Key_Tab);
}

// A check box is clicked on its box, which is not at the middle of a wide one.
void Clique(QWidget* bouton) {
  if (qobject_cast<QCheckBox*>(bouton))
    QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(6, bouton->height() / 2));
  else
    QTest::mouseClick(bouton, Qt::LeftButton);
}

// The confirmation box: OK or "Annuler".
void Repond(QDialog* dialogue, bool ok) {
  auto* question = qobject_cast<QMessageBox*>(dialogue);
  QVERIFY(question);
  Clique(question->button(ok ? QMessageBox::Ok : QMessageBox::Cancel));
}

// Types a file name (relative to `dossier`) in a file chooser. `force`: the
// chooser's result is forced, for names it would refuse itself (a missing
// file or folder), to reach the window's own checks.
void Choisit(QDialog* dialogue, const QString& dossier, const QString& nom, bool force = false) {
  auto* choix = qobject_cast<QFileDialog*>(dialogue);
  QVERIFY(choix);
  choix->setDirectory(dossier);
  auto* champ = choix->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(champ);
  champ->setText(nom);
  if (force)
    dialogue->done(QDialog::Accepted);
  else
    dialogue->accept();
}
void Choisit(QDialog* dialogue, const QString& fichier) {
  Choisit(dialogue, QFileInfo(fichier).absolutePath(), QFileInfo(fichier).fileName());
}

void Selectionne(QListWidget* liste, const QString& nom) {
  const auto trouves = liste->findItems(nom, Qt::MatchExactly);
  QVERIFY(!trouves.isEmpty());
  liste->setCurrentItem(trouves.front());
}

// The parameter rows of the coordinate-system editor.
void Cellule(TDlgProjection* d, const char* parametre, const QString& texte) {
  const auto trouves = d->GridParametre->findItems(QString::fromUtf8(parametre), Qt::MatchExactly);
  QVERIFY2(!trouves.isEmpty(), parametre);
  d->GridParametre->item(trouves.front()->row(), 1)->setText(texte);
}

void ChoisitNature(TDlgProjection* d, const QString& nature) {
  const int i = d->ComboNature->findText(nature);
  QVERIFY(i >= 0);
  d->ComboNature->setCurrentIndex(i);
  emit d->ComboNature->activated(i);
}

const QString kPrefixe = QStringLiteral("Vestrel | ");

}  // namespace

class TestParametres : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBancFenetre> banc_;
  TForm1* f_ = nullptr;
  TDlgParametre* p_ = nullptr;

  // The main window on that data file, and its parameters window shown.
  TDlgParametre& Ouvre(const char* donnees = kCatalogue) {
    banc_->EcritDonnees(donnees);
    f_ = &banc_->Ouvre();
    auto afficheur = [this](const QString& titre, const QString& texte) {
      banc_->Messages.append(titre + QStringLiteral(" | ") + texte);
    };
    p_ = new TDlgParametre(f_->Donnees, banc_->Ini(), afficheur, f_);
    f_->MontreParametres = [this] { p_->exec(); };
    return *p_;
  }
  void Montre() {
    occupes.insert(p_);  // shown modal: not a dialog for the actions
    p_->show();
    QVERIFY(QTest::qWaitForWindowActive(p_));
  }
  TDonnees& Donnees() { return *f_->Donnees; }
  std::string Catalogue() {
    std::string texte;
    Donnees().SauveFlux(texte);
    return texte;
  }
  QString DernierMessage() const {
    return banc_->Messages.isEmpty() ? QString() : banc_->Messages.last().mid(kPrefixe.size());
  }

 private slots:
  void init() { banc_ = std::make_unique<TBancFenetre>(); }
  void cleanup() {
    occupes.clear();
    banc_.reset();
  }

  void controles() {
    TDlgParametre& p = Ouvre();
    Montre();
    QCOMPARE(p.windowTitle(), QStringLiteral("Paramètres"));
    const QStringList onglets = {QStringLiteral("Ellipsoïdes"), QStringLiteral("Datums"),
                                 QStringLiteral("Projections simples"),
                                 QStringLiteral("Projections multiples")};
    for (int i = 0; i < 4; ++i) QCOMPARE(p.PageControl->tabText(i), onglets[i]);
    for (QPushButton* b : {p.ButtonAjoutEllips, p.ButtonAjoutDatum, p.ButtonAjoutProjection, p.ButtonAjoutMultiple})
      QCOMPARE(b->text(), QStringLiteral("Ajouter ..."));
    for (QPushButton* b : {p.Button1, p.Button4, p.Button7, p.Button10})
      QCOMPARE(b->text(), QStringLiteral("Modifier ..."));
    QCOMPARE(p.OKBtn->text(), QStringLiteral("Fermer"));
    QCOMPARE(p.findChild<QListWidget*>(QStringLiteral("ListDatum")), p.ListDatum);
    QCOMPARE(p.findChild<QPushButton*>(QStringLiteral("Button11")), p.Button11);
    // The lists in catalogue order, the built-ins first.
    QCOMPARE(p.ListEllips->count(), 3);
    QCOMPARE(p.ListEllips->item(0)->text(), QStringLiteral("GRS 80"));
    QCOMPARE(p.ListDatum->item(2)->text(), QStringLiteral("ED 7p"));
    QCOMPARE(p.ListSimple->item(1)->text(), QStringLiteral("UTM 31"));
    QCOMPARE(p.ListMultiple->item(0)->text(), QStringLiteral("TM 3"));
  }

  void nomsProposes() {
    Ouvre("Ellipsoide=\"Ellipsoide1\" \"\" 6378249.2 0.08\r\n"
          "Ellipsoide=\"Ellipsoide3\" \"\" 6378249.2 0.08\r\n"
          "Ellipsoide=\"Datum2\" \"\" 6378249.2 0.08\r\n"
          "Datum=\"Projection1\" \"\" \"GRS 80\" 0 0 0\r\n"
          "Projection \"Projection Latitude/Longitude\"=\"Datum1\" \"\" \"WGS84\"\r\n"
          "Projection \"Projection Latitude/Longitude\"=\"Projection2\" \"\" \"WGS84\"\r\n");
    Montre();
    const std::string avant = Catalogue();
    QString ellipsoide, datum, simple, multiple;
    auto lit = [](QString& nom) {
      return [&nom](QDialog* d) {
        nom = d->findChild<QLineEdit*>(QStringLiteral("EditNom"))->text();
        d->reject();
      };
    };
    {
      TModal<> m(lit(ellipsoide));
      Clique(p_->ButtonAjoutEllips);
    }
    {
      TModal<> m(lit(datum));
      Clique(p_->ButtonAjoutDatum);
    }
    {
      TModal<> m(lit(simple));
      Clique(p_->ButtonAjoutProjection);
    }
    {
      TModal<> m(lit(multiple));
      Clique(p_->ButtonAjoutMultiple);
    }
    QCOMPARE(ellipsoide, QStringLiteral("Ellipsoide2"));
    // Datum1 is a system, Datum2 an ellipsoid: a name met twice in the data
    // file would lose the record at the next load.
    QCOMPARE(datum, QStringLiteral("Datum3"));
    QCOMPARE(simple, QStringLiteral("Projection3"));
    QCOMPARE(multiple, QStringLiteral("Projection3"));
    QCOMPARE(Catalogue(), avant);
    QCOMPARE(Donnees().Ellipsoides.size(), size_t(4));
  }

  void refusSansEditeur_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("message");
    const QString rien;
    auto ligne = [](const char* nom, const char* b, const char* l, const QString& e, const char* m) {
      QTest::newRow(nom) << QString::fromLatin1(b) << QString::fromLatin1(l) << e
                         << QString::fromUtf8(m);
    };
    ligne("modifier GRS 80", "Button1", "ListEllips", QStringLiteral("GRS 80"),
          "Vous n'êtes pas autorisé à modifier l'ellipsoïde GRS 80");
    ligne("supprimer GRS 80", "Button2", "ListEllips", QStringLiteral("GRS 80"),
          "Vous n'êtes pas autorisé à supprimer l'ellipsoïde GRS 80");
    ligne("modifier WGS84", "Button4", "ListDatum", QStringLiteral("WGS84"),
          "Vous n'êtes pas autorisé à modifier le datum WGS84");
    ligne("supprimer WGS84", "Button5", "ListDatum", QStringLiteral("WGS84"),
          "Vous n'êtes pas autorisé à supprimer le datum WGS84");
    ligne("modifier ellipsoïde", "Button1", "ListEllips", rien,
          "Veuillez sélectionner l'ellipsoïde à modifier");
    ligne("supprimer ellipsoïde", "Button2", "ListEllips", rien,
          "Veuillez sélectionner l'ellipsoïde avant de le supprimer");
    ligne("modifier datum", "Button4", "ListDatum", rien, "Veuillez sélectionner le datum à modifier");
    ligne("supprimer datum", "Button5", "ListDatum", rien,
          "Veuillez sélectionner le datum avant de le supprimer");
    ligne("modifier simple", "Button7", "ListSimple", rien,
          "Veuillez sélectionner la projection à modifier");
    ligne("modifier multiple", "Button10", "ListMultiple", rien,
          "Veuillez sélectionner la projection à modifier");
    ligne("supprimer simple", "Button8", "ListSimple", rien,
          "Veuillez sélectionner la projection avant de la supprimer");
  }
  void refusSansEditeur() {
    QFETCH(QString, bouton);
    QFETCH(QString, liste);
    QFETCH(QString, entree);
    QFETCH(QString, message);
    Ouvre();
    Montre();
    auto* l = p_->findChild<QListWidget*>(liste);
    l->setFocus();  // the current entry the focus gives is no selection
    if (!entree.isEmpty()) Selectionne(l, entree);
    const std::string avant = Catalogue();
    TModal<> m([](QDialog* d) { d->reject(); });
    Clique(p_->findChild<QPushButton*>(bouton));
    QVERIFY(!m.Vu);
    QCOMPARE(DernierMessage(), message);
    QCOMPARE(Catalogue(), avant);
  }

  void annulerNeChangeRien_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("entree");
    QTest::newRow("nouvel ellipsoïde") << "ButtonAjoutEllips" << "" << "";
    QTest::newRow("ellipsoïde") << "Button1" << "ListEllips" << "Clarke 1880 IGN";
    QTest::newRow("nouveau datum") << "ButtonAjoutDatum" << "" << "";
    QTest::newRow("datum") << "Button4" << "ListDatum" << "ED 7p";
    QTest::newRow("nouveau système") << "ButtonAjoutProjection" << "" << "";
    QTest::newRow("système") << "Button7" << "ListSimple" << "UTM 31";
    QTest::newRow("multiple") << "Button10" << "ListMultiple" << "TM 3";
  }
  void annulerNeChangeRien() {
    QFETCH(QString, bouton);
    QFETCH(QString, liste);
    QFETCH(QString, entree);
    Ouvre();
    Montre();
    if (!liste.isEmpty()) Selectionne(p_->findChild<QListWidget*>(liste), entree);
    const std::string avant = Catalogue();
    TModal<> m([](QDialog* d) {
      // Fields left with new values write into the working copy only.
      Saisit(d->findChild<QLineEdit*>(QStringLiteral("EditNom")), QStringLiteral("Autre nom"));
      Saisit(d->findChild<QLineEdit*>(QStringLiteral("EditDescription")), QStringLiteral("Autre"));
      if (auto* a = d->findChild<QLineEdit*>(QStringLiteral("EditA"))) Saisit(a, QStringLiteral("6000000"));
      if (auto* x = d->findChild<QLineEdit*>(QStringLiteral("EditDeltaX"))) Saisit(x, QStringLiteral("12"));
      if (auto* c = d->findChild<QCheckBox*>(QStringLiteral("CheckSept"))) Clique(c);
      Clique(d->findChild<QPushButton*>(QStringLiteral("CancelBtn")));
    });
    Clique(p_->findChild<QPushButton*>(bouton));
    QVERIFY(m.Vu);
    QCOMPARE(Catalogue(), avant);
    QCOMPARE(Donnees().Ellipsoides.size(), size_t(3));
    QCOMPARE(Donnees().Datums.size(), size_t(3));
    QVERIFY(banc_->Messages.isEmpty());
  }

  void ellipsoideChampsLies() {
    Ouvre();
    Montre();
    TDlgEllipsoide* d = p_->DlgEllipsoide;
    QStringList vu;
    TModal<> m([&](QDialog*) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Paramètres de l'ellipsoïde"));
      QCOMPARE(d->EditA->text(), QStringLiteral("6371000"));
      QCOMPARE(d->EditF->text(), QStringLiteral("287"));
      Saisit(d->EditNom, QStringLiteral("IAG 1980"));
      Saisit(d->EditA, QStringLiteral("6378137"));
      Saisit(d->EditF, QStringLiteral("298.257222101"));
      vu << d->EditB->text() << d->EditE->text();
      // a moves b only: e and 1/f stay.
      Saisit(d->EditA, QStringLiteral("6371365.32"));
      vu << d->EditB->text() << d->EditE->text() << d->EditF->text();
      // A bad e: its message, the previous text back, the copy unchanged.
      Saisit(d->EditE, QStringLiteral("abc"));
      vu << d->EditE->text() << QString::fromStdString(FormatG(d->Copie->E, 9));
      QCOMPARE(QApplication::focusWidget(), d->EditE);
      // b moves e and 1/f.
      Saisit(d->EditB, QStringLiteral("6350000"));
      vu << d->EditE->text() << d->EditF->text();
      Clique(d->OKBtn);
    });
    Clique(p_->ButtonAjoutEllips);
    // b = a (1 - f), e = sqrt(1 - (b/a)^2), 1/f = a / (a - b)
    QCOMPARE(vu, (QStringList{"6356752.31", "0.081819191", "6350003.34", "0.081819191",
                              "298.257222101", "0.081819191", "0.081819191", "0.0818255731",
                              "298.21062"}));
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + "Valeur de e incorrecte, exemple 0.0823554"});
    const TEllipsoide& nouveau = *Donnees().Ellipsoides.back();
    QCOMPARE(nouveau.Nom, std::string("IAG 1980"));
    QCOMPARE(nouveau.A, 6371365.32);
    QVERIFY(std::fabs(nouveau.GetB() - 6350000) < 1e-6);
    QCOMPARE(p_->ListEllips->count(), 4);
  }

  // A sphere is shown with 1/f = 0 and stays a sphere; 1/f = 0 makes one.
  void ellipsoideSphere() {
    Ouvre();
    Montre();
    TDlgEllipsoide* d = p_->DlgEllipsoide;
    QString f;
    Selectionne(p_->ListEllips, QStringLiteral("Sphère"));
    {
      TModal<> m([&](QDialog*) {
        f = d->EditF->text();
        Saisit(d->EditA, QStringLiteral("6371000"));
        Clique(d->OKBtn);
      });
      Clique(p_->Button1);
    }
    QCOMPARE(f, QStringLiteral("0"));
    const TEllipsoide& sphere = *Donnees().TrouveEllipsoide("Sphère");
    QCOMPARE(sphere.A, 6371000.0);
    QCOMPARE(sphere.E, 0.0);
    QVERIFY(banc_->Messages.isEmpty());

    Selectionne(p_->ListEllips, QStringLiteral("Clarke 1880 IGN"));
    QString b;
    TModal<> m([&](QDialog*) {
      // b beyond a gives no ellipsoid: refused like a bad text.
      Saisit(d->EditB, QStringLiteral("6400000"));
      Saisit(d->EditF, QStringLiteral("0"));
      b = d->EditB->text();
      QTest::keyClick(d->EditF, Qt::Key_Return);
    });
    Clique(p_->Button1);
    QCOMPARE(DernierMessage(), QStringLiteral("Valeur de b incorrecte, exemple 6371365.32"));
    QCOMPARE(b, QStringLiteral("6378249.2"));
    QCOMPARE(Donnees().TrouveEllipsoide("Clarke 1880 IGN")->E, 0.0);
  }

  // Names that are used, or that the data file cannot hold, are refused when
  // the field is left and the previous text comes back.
  void nomsRefuses() {
    Ouvre();
    Montre();
    const QString deja = QStringLiteral("Nom déjà utilisé");
    QStringList ellipsoide, datum, systeme;
    TDlgEllipsoide* e = p_->DlgEllipsoide;
    Selectionne(p_->ListEllips, QStringLiteral("Clarke 1880 IGN"));
    {
      TModal<> m([&](QDialog*) {
        Saisit(e->EditNom, QStringLiteral("Sphère"));
        ellipsoide << e->EditNom->text();
        Saisit(e->EditNom, QStringLiteral("NTF"));  // a datum: the file refuses it too
        Saisit(e->EditNom, QStringLiteral("Clarke \"IGN\""));
        ellipsoide << e->EditNom->text();
        Saisit(e->EditDescription, QStringLiteral("Łódź"));
        ellipsoide << e->EditDescription->text();
        Saisit(e->EditDescription, QStringLiteral("Clarke 1880 — 50 €"));
        // Its own name is kept; a refused text in the field is not taken
        // by Enter.
        Saisit(e->EditNom, QStringLiteral("Clarke 1880 IGN"));
        e->EditNom->setFocus();
        QTest::keyClicks(e->EditNom, QStringLiteral("\""));
        QTest::keyClick(e->EditNom, Qt::Key_Return);
        ellipsoide << QString::number(e->isVisible());
        QTest::keyClick(e->EditNom, Qt::Key_Return);
      });
      Clique(p_->Button1);
    }
    QCOMPARE(ellipsoide, (QStringList{QStringLiteral("Clarke 1880 IGN"), QStringLiteral("Clarke 1880 IGN"),
                                      QStringLiteral("Clarke 1880 IGN"), QStringLiteral("1")}));
    QCOMPARE(Donnees().TrouveEllipsoide("Clarke 1880 IGN")->Description, std::string("Clarke 1880 — 50 €"));
    const QString guillemet = QStringLiteral(
        "Le nom ne peut contenir ni guillemet (\"), ni caractère de contrôle, ni caractère que le "
        "fichier de données (Windows-1252) ne sait pas écrire");
    QCOMPARE(banc_->Messages.mid(0, 3), (QStringList{kPrefixe + deja, kPrefixe + deja, kPrefixe + guillemet}));
    QVERIFY(banc_->Messages[3].startsWith(kPrefixe + "La description ne peut contenir"));
    QCOMPARE(banc_->Messages.size(), 5);
    banc_->Messages.clear();

    TDlgDatum* d = p_->DlgDatum;
    Selectionne(p_->ListDatum, QStringLiteral("NTF"));
    {
      TModal<> m([&](QDialog*) {
        Saisit(d->EditNom, QStringLiteral("UTM 31"));
        datum << d->EditNom->text();
        Saisit(d->EditNom, QStringLiteral("NTF"));
        Clique(d->OKBtn);
      });
      Clique(p_->Button4);
    }
    QCOMPARE(datum, QStringList{QStringLiteral("NTF")});
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + deja});
    banc_->Messages.clear();

    TDlgProjection* s = p_->DlgProjection;
    Selectionne(p_->ListSimple, QStringLiteral("UTM 31"));
    TModal<> m([&](QDialog*) {
      Saisit(s->EditNom, QStringLiteral("ED 7p"));
      systeme << s->EditNom->text();
      Saisit(s->EditNom, QStringLiteral("TM 3"));
      Saisit(s->EditNom, QStringLiteral("UTM 31"));
      Saisit(s->EditNom, QStringLiteral("UTM \"31\""));
      systeme << s->EditNom->text();
      Saisit(s->EditNom, QStringLiteral("UTM 31 nord"));
      Clique(s->OKBtn);
    });
    Clique(p_->Button7);
    QCOMPARE(systeme, (QStringList{QStringLiteral("UTM 31"), QStringLiteral("UTM 31")}));
    QCOMPARE(banc_->Messages, (QStringList{kPrefixe + deja, kPrefixe + deja, kPrefixe + guillemet}));
    // The edited system is replaced at its place by the one built.
    QCOMPARE(Donnees().Projections[1]->Nom, std::string("UTM 31 nord"));
    QCOMPARE(p_->ListSimple->item(1)->text(), QStringLiteral("UTM 31 nord"));
  }

  void datumSeptParametres() {
    Ouvre();
    Montre();
    TDlgDatum* d = p_->DlgDatum;
    Selectionne(p_->ListDatum, QStringLiteral("ED 7p"));
    QStringList vu;
    bool actifs = false, troisApres = false, inactifs = true;
    TModal<> m([&](QDialog*) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Paramètres du datum"));
      vu << d->EditRotX->text() << d->EditEchelle->text() << d->ComboEllipsoide->currentText();
      actifs = d->CheckSept->isChecked() && d->EditRotX->isEnabled() && d->EditEchelle->isEnabled();
      vu << QString::fromStdString(FormatG(d->Copie->RotX, 12));
      Clique(d->CheckSept);
      inactifs = d->EditRotX->isEnabled() || d->EditRotZ->isEnabled() || d->EditEchelle->isEnabled();
      troisApres = d->Copie->TroisParametres;
      d->EditRotZ->setText(QStringLiteral("0.75"));
      Clique(d->CheckSept);
      Saisit(d->EditDeltaY, QStringLiteral("12,5"));
      vu << d->EditDeltaY->text();
      Saisit(d->EditDeltaX, QStringLiteral("-87"));
      d->ComboEllipsoide->setFocus();
      QTest::keyClick(d->ComboEllipsoide, Qt::Key_End);
      Clique(d->OKBtn);
    });
    Clique(p_->Button4);
    // Shown with six digits, kept whole while the text is not changed.
    QCOMPARE(vu, (QStringList{QStringLiteral("0.123457"), QStringLiteral("1.5"), QStringLiteral("GRS 80"),
                              QStringLiteral("0.123456789"), QStringLiteral("-97")}));
    QVERIFY(actifs);
    QVERIFY(!inactifs);
    QVERIFY(troisApres);
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + "Valeur de DeltaY incorrecte, eYemple 125.365"});
    const TDatum& datum = *Donnees().TrouveDatum("ED 7p");
    QVERIFY(!datum.TroisParametres);
    QCOMPARE(datum.DeltaX, -87.0);
    QCOMPARE(datum.DeltaY, -97.0);
    QCOMPARE(datum.RotZ, 0.75);
    QCOMPARE(datum.Echelle, 1.5);
    QCOMPARE(datum.Ellipsoide->Nom, std::string("Sphère"));

    // Unchecked and confirmed: a three-parameter datum.
    Selectionne(p_->ListDatum, QStringLiteral("ED 7p"));
    TModal<> trois([&](QDialog*) {
      Clique(d->CheckSept);
      Clique(d->OKBtn);
    });
    Clique(p_->Button4);
    QVERIFY(Donnees().TrouveDatum("ED 7p")->TroisParametres);
    QVERIFY(Catalogue().find("Datum=\"ED 7p\" \"Sept paramètres\" \"Sphère\" -87 -97 -117\r\n") !=
            std::string::npos);
  }

  // Every nature lists its parameters by name in the flattened order.
  void grilleParNature() {
    Ouvre();
    Montre();
    TDlgProjection* d = p_->DlgProjection;
    QStringList fautes;
    int natures = 0;
    TModal<> m([&](QDialog*) {
      for (int i = 0; i < d->ComboNature->count(); ++i) {
        const QString nature = d->ComboNature->itemText(i);
        ChoisitNature(d, nature);
        const int n = NombreParametres(nature.toStdString());
        ++natures;
        if (d->GridParametre->isVisibleTo(d) != (n != 0) || d->GridParametre->rowCount() != n ||
            d->Label5->text() != (n ? QStringLiteral("&Propriétés") : QStringLiteral("Aucun paramètre")))
          fautes << nature;
        for (int j = 0; j < n; ++j)
          if (d->GridParametre->item(j, 0)->text().toStdString() != NomParametre(nature.toStdString(), j))
            fautes << nature + QString::number(j);
      }
      d->reject();
    });
    Clique(p_->ButtonAjoutProjection);
    QCOMPARE(natures, int(TypesProjection().size()));
    QVERIFY2(fautes.isEmpty(), qPrintable(fautes.join(", ")));
    QCOMPARE(d->GridParametre->horizontalHeaderItem(0)->text(), QStringLiteral("Nom"));
    QCOMPARE(d->GridParametre->horizontalHeaderItem(1)->text(), QStringLiteral("Valeur"));
  }

  void grilleMessages() {
    Ouvre();
    Montre();
    TDlgProjection* d = p_->DlgProjection;
    QStringList ouvert;
    int rangFaute = -1;
    TModal<> m([&](QDialog*) {
      ChoisitNature(d, QStringLiteral("Stéréographique Polaire"));
      Saisit(d->EditNom, QStringLiteral("Pôle"));
      Cellule(d, "k0", QStringLiteral("0,994"));
      Cellule(d, "X0", QStringLiteral("2000000"));
      Cellule(d, "Y0", QStringLiteral("2000000"));
      Cellule(d, "Landa0", QStringLiteral("douze"));
      Cellule(d, "Sud", QStringLiteral("vrai"));
      auto essai = [&] {
        Clique(d->OKBtn);
        ouvert << QString::number(d->isVisible());
      };
      essai();
      rangFaute = d->GridParametre->currentRow();
      ouvert << QString::number(QApplication::focusWidget() == d->GridParametre ||
                                d->GridParametre->isAncestorOf(QApplication::focusWidget()));
      Cellule(d, "k0", QStringLiteral("0.994"));
      essai();
      Cellule(d, "Landa0", QStringLiteral("0°"));
      essai();
      Cellule(d, "Sud", QStringLiteral("oui"));
      essai();
    });
    Clique(p_->ButtonAjoutProjection);
    QCOMPARE(ouvert, (QStringList{"1", "1", "1", "1", "0"}));
    QCOMPARE(rangFaute, 0);
    QCOMPARE(banc_->Messages,
             (QStringList{kPrefixe + "Le paramètre k0 n'est pas correcte, exemple 6371235.36",
                          kPrefixe + "Le paramètre Landa0 doit être un angle, exemple 2°15'03.235''",
                          kPrefixe + "Le paramètre Sud ne peut que OUI ou NON"}));
    // Refused attempts built nothing; the last one built one system.
    QCOMPARE(Donnees().Projections.size(), size_t(3));
    const TAncetre& pole = *Donnees().Projections.back();
    QCOMPARE(pole.Nom, std::string("Pôle"));
    QVERIFY(pole.Valide);
    QCOMPARE(pole.GetBooleen(0), true);
    QCOMPARE(pole.Datum, Donnees().Datums.front().get());
  }

  void grilleEntiersEtBooleens_data() {
    QTest::addColumn<QString>("sud");
    QTest::addColumn<bool>("attendu");
    for (const char* oui : {"oui", "1", "true", "OUI"}) QTest::newRow(oui) << QString::fromLatin1(oui) << true;
    for (const char* non : {"non", "0", "false", "Faux"})
      QTest::newRow(non) << QString::fromLatin1(non) << false;
  }
  void grilleEntiersEtBooleens() {
    QFETCH(QString, sud);
    QFETCH(bool, attendu);
    Ouvre();
    Montre();
    TDlgProjection* d = p_->DlgProjection;
    Selectionne(p_->ListSimple, QStringLiteral("UTM 31"));
    QStringList vu;
    TModal<> m([&](QDialog*) {
      vu << d->GridParametre->item(0, 1)->text() << d->GridParametre->item(1, 1)->text();
      Cellule(d, "Fuseau", QStringLiteral("32.5"));
      Cellule(d, "Sud", sud);
      Clique(d->OKBtn);
      Cellule(d, "Fuseau", QStringLiteral("32"));
      Clique(d->OKBtn);
      if (d->isVisible()) d->reject();
    });
    Clique(p_->Button7);
    QCOMPARE(vu, (QStringList{QStringLiteral("31"), QStringLiteral("NON")}));
    QCOMPARE(banc_->Messages.value(0), kPrefixe + "Le paramètre Fuseau doit être entier, exemple 7");
    if (sud == QLatin1String("Faux")) {
      QCOMPARE(banc_->Messages.value(1), kPrefixe + "Le paramètre Sud ne peut que OUI ou NON");
      return;
    }
    QCOMPARE(banc_->Messages.size(), 1);
    const TAncetre& utm = *Donnees().Projections[1];
    QCOMPARE(utm.GetEntier(0), 32);
    QCOMPARE(utm.GetBooleen(0), attendu);
  }

  void suppressions() {
    Ouvre();
    Montre();
    auto supprime = [&](QListWidget* liste, const char* nom, QPushButton* bouton, bool ok) {
      Selectionne(liste, QString::fromUtf8(nom));
      QString question;
      TModal<> m([&](QDialog* d) {
        question = qobject_cast<QMessageBox*>(d)->text();
        Repond(d, ok);
      });
      Clique(bouton);
      return question;
    };
    QCOMPARE(supprime(p_->ListEllips, "Clarke 1880 IGN", p_->Button2, true),
             QStringLiteral("Etes-vous sûr de vouloir supprimer l'ellipsoïde Clarke 1880 IGN"));
    QCOMPARE(DernierMessage(), QStringLiteral("Impossible de supprimer cet ellipsoïde qui est utilisé par certains datums"));
    QCOMPARE(supprime(p_->ListDatum, "NTF", p_->Button5, true),
             QStringLiteral("Etes-vous sûr de vouloir supprimer le datum NTF"));
    QCOMPARE(DernierMessage(), QStringLiteral("Impossible de supprimer ce datum qui est utilisé par certaines projections."));
    QCOMPARE(banc_->Messages.size(), 2);
    const std::string avant = Catalogue();
    supprime(p_->ListEllips, "Sphère", p_->Button2, false);
    supprime(p_->ListMultiple, "TM 3", p_->Button11, false);
    QCOMPARE(Catalogue(), avant);
    QCOMPARE(supprime(p_->ListSimple, "Plate carrée", p_->Button8, true),
             QStringLiteral("Etes-vous sûr de vouloir supprimer la projection Plate carrée"));
    supprime(p_->ListDatum, "NTF", p_->Button5, true);
    supprime(p_->ListEllips, "Clarke 1880 IGN", p_->Button2, true);
    supprime(p_->ListMultiple, "TM 3", p_->Button11, true);
    QCOMPARE(banc_->Messages.size(), 2);
    QVERIFY(!Donnees().TrouveEllipsoide("Clarke 1880 IGN") && !Donnees().TrouveDatum("NTF"));
    QCOMPARE(Donnees().Projections.size(), size_t(1));
    QVERIFY(Donnees().Multiples.empty());
    QCOMPARE(p_->ListEllips->count(), 2);
    QCOMPARE(p_->ListDatum->count(), 2);
  }

  void importation() {
    Ouvre("");
    Montre();
    auto ecrit = [&](const char* nom, const char* octets) {
      const QString fichier = banc_->Racine() + QLatin1Char('/') + QLatin1String(nom);
      QFile f(fichier);
      if (f.open(QIODevice::WriteOnly)) f.write(octets);
      return fichier;
    };
    // Lines of any end; comments and empty lines are not listed, a line
    // beginning with a blank is.
    const QString choix = ecrit("choix.txt",
                                "' Un commentaire\r\n\r\n"
                                "Ellipsoide=\"Clarke 1866\" \"\" 6378206.4 0.0822718542\r\n"
                                "Datum=\"Perdu\" \"\" \"Inconnu\" 0 0 0\r\n"
                                "\n"
                                " Datum=\"Blanc\" \"\" \"GRS 80\" 0 0 0\r"
                                "Datum=\"NAD27\" \"Am\xe9rique\" \"Clarke 1866\" -8 160 176\r\n");
    const QString tout = ecrit("tout.txt",
                               "Ellipsoide=\"Clarke 1866\" \"\" 6378206.4 0.0822718542\r\n"
                               "Datum=\"Perdu\" \"\" \"Inconnu\" 0 0 0\r\n"
                               "Datum=\"NAD27\" \"Am\xe9rique\" \"Clarke 1866\" -8 160 176\r\n");
    auto importe = [&](const QString& fichier, const std::function<void(TDlgImportation*)>& action) {
      TModal<QFileDialog> fichiers([&](QDialog* d) { Choisit(d, fichier); });
      QStringList lignes;
      TModal<TDlgImportation> selection([&](TDlgImportation* i) {
        for (int k = 0; k < i->CheckListBoxImport->count(); ++k)
          if (i->CheckListBoxImport->item(k)->checkState() == Qt::Checked)
            lignes << i->CheckListBoxImport->item(k)->text();
        action(i);
      });
      Clique(p_->ButtonOuvrir);
      return lignes;
    };
    // Chosen lines: none checked imports nothing.
    bool actifs = true;
    const QStringList lignes = importe(choix, [&](TDlgImportation* i) {
      QCOMPARE(i->windowTitle(), QStringLiteral("Importation"));
      actifs = i->CheckTout->isChecked() && !i->CheckListBoxImport->isEnabled() &&
               !i->ButtonTout->isEnabled() && !i->ButtonAucun->isEnabled();
      Clique(i->CheckTout);
      actifs = actifs && i->CheckListBoxImport->isEnabled() && i->ButtonAucun->isEnabled();
      Clique(i->ButtonAucun);
      Clique(i->OKBtn);
    });
    QVERIFY(actifs);
    QCOMPARE(lignes.size(), 4);
    QCOMPARE(lignes[2], QStringLiteral(" Datum=\"Blanc\" \"\" \"GRS 80\" 0 0 0"));
    QCOMPARE(lignes[3], QStringLiteral("Datum=\"NAD27\" \"Amérique\" \"Clarke 1866\" -8 160 176"));
    QCOMPARE(Catalogue(), std::string());
    // A failing line does not stop the others; the user learns which failed.
    importe(choix, [&](TDlgImportation* i) {
      Clique(i->CheckTout);
      i->CheckListBoxImport->item(0)->setCheckState(Qt::Unchecked);  // Clarke 1866
      QTest::keyClick(i->OKBtn, Qt::Key_Return);
    });
    // (the keyword of the line that begins with a blank is not "Datum")
    QCOMPARE(Catalogue(), std::string());
    const QStringList refus = DernierMessage().split(QLatin1Char('\n'));
    QCOMPARE(refus.size(), 4);
    QCOMPARE(refus[0], QStringLiteral("Lignes non importées :"));
    QVERIFY(refus[1].startsWith(QStringLiteral("Datum=\"Perdu\"")));
    QVERIFY(refus[2].startsWith(QStringLiteral(" Datum=\"Blanc\"")));
    QVERIFY(refus[3].startsWith(QStringLiteral("Datum=\"NAD27\"")));
    banc_->Messages.clear();

    // The whole file stops at the first failing record; the records before
    // it stay, and the user is told where.
    importe(tout, [&](TDlgImportation* i) { Clique(i->OKBtn); });
    QVERIFY(Donnees().TrouveEllipsoide("Clarke 1866"));
    QVERIFY(!Donnees().TrouveDatum("NAD27"));
    QVERIFY(DernierMessage().startsWith(QStringLiteral("Le fichier ") + tout +
                                        QStringLiteral(" n'a été importé que jusqu'à sa ligne 2 :")));
    QCOMPARE(p_->ListEllips->count(), 2);
    // Then the chosen NAD27 line finds its ellipsoid.
    importe(choix, [&](TDlgImportation* i) {
      Clique(i->CheckTout);
      Clique(i->ButtonAucun);
      i->CheckListBoxImport->item(3)->setCheckState(Qt::Checked);
      Clique(i->OKBtn);
    });
    QCOMPARE(Donnees().TrouveDatum("NAD27")->Description, std::string("Amérique"));

    // Comments only: an empty list. Cancel imports nothing.
    const QString commentaires = ecrit("commentaires.txt", "'Ellipsoide=\"X\" \"\" 6378206.4 0.08\r\n\r\n'\r\n");
    const std::string avant = Catalogue();
    QCOMPARE(importe(commentaires, [](TDlgImportation* i) { Clique(i->CancelBtn); }).size(), 0);
    QCOMPARE(Catalogue(), avant);
  }

  void importationIllisible() {
    Ouvre("");
    Montre();
    const QString absent = banc_->Racine() + QStringLiteral("/absent.txt");
    TModal<QFileDialog> fichiers([&](QDialog* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Ouvrir"));
      Choisit(d, banc_->Racine(), QStringLiteral("absent.txt"), true);
    });
    Clique(p_->ButtonOuvrir);
    QVERIFY(fichiers.Vu);
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + "Problème de lecture du fichier " + absent});
  }

  void enregistrerEtReinitialiser() {
    Ouvre();
    Montre();
    const QString fichier = banc_->Racine() + QStringLiteral("/copie.txt");
    {
      TModal<> m([&](QDialog* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Enregistrer sous"));
        Choisit(d, fichier);
      });
      Clique(p_->ButtonEnregistrer);
    }
    QFile copie(fichier);
    QVERIFY(copie.open(QIODevice::ReadOnly));
    QCOMPARE(Win1252VersUtf8(copie.readAll().toStdString()), Catalogue());
    // A folder that does not exist.
    const QString ailleurs = banc_->Racine() + QStringLiteral("/nulle/part.txt");
    {
      TModal<QFileDialog> m([&](QDialog* d) { Choisit(d, banc_->Racine(), QStringLiteral("nulle/part.txt"), true); });
      Clique(p_->ButtonEnregistrer);
    }
    const std::string fichierOriginal = LitFichier(banc_->CheminDonnees());
    QCOMPARE(banc_->Messages,
             QStringList{kPrefixe + "Problème à l'enregistrement des données dans " + ailleurs});

    Clique(p_->ButtonRAZ);
    QCOMPARE(Catalogue(), std::string());
    QCOMPARE(p_->ListEllips->count(), 1);
    QCOMPARE(p_->ListDatum->count(), 1);
    QCOMPARE(p_->ListSimple->count(), 0);
    QCOMPARE(p_->ListMultiple->count(), 0);
    QCOMPARE(LitFichier(banc_->CheminDonnees()), fichierOriginal);
  }

  void caseAutomatique() {
    Ouvre();
    Montre();
    QVERIFY(p_->CheckAutomatique->isChecked());
    Clique(p_->CheckAutomatique);
    // Written before the window is closed.
    QCOMPARE(LitFichier(banc_->Ini().NomFichier), std::string("AutoSave = NON\n"));
    QVERIFY(!banc_->Ini().AutoSave);
    p_->accept();
    banc_->Ini().SetAutoSave(true);
    Montre();
    QVERIFY(p_->CheckAutomatique->isChecked());
    QCOMPARE(LitFichier(banc_->Ini().NomFichier), std::string("AutoSave = OUI\n"));
  }

  // Through the windows: an ellipsoid, a datum on it and a Lambert system on
  // that datum, a point converted with it, then the program started again.
  void sessionComplete() {
    Ouvre("");
    const auto convertit = [&](TForm1& f, int destination) {
      f.ComboSource->setCurrentIndex(0);
      f.ComboDestination->setCurrentIndex(destination);
      f.EditXSource->setText(QStringLiteral("48.85°"));
      f.EditYSource->setText(QStringLiteral("2.35°"));
      Clique(f.Button2);
      return std::pair(LitReel(f.EditXDest->text().toStdString()),
                       LitReel(f.EditYDest->text().toStdString()));
    };
    f_->show();
    QVERIFY(QTest::qWaitForWindowActive(f_));
    TModal<> parametres([&](QDialog*) {
      {
        TModal<> m([&](QDialog*) {
          TDlgEllipsoide* e = p_->DlgEllipsoide;
          Saisit(e->EditNom, QStringLiteral("Clarke 1880 IGN"));
          Saisit(e->EditA, QStringLiteral("6378249.2"));
          Saisit(e->EditF, QStringLiteral("293.466021294"));
          Clique(e->OKBtn);
        });
        Clique(p_->ButtonAjoutEllips);
      }
      {
        TModal<> m([&](QDialog*) {
          TDlgDatum* d = p_->DlgDatum;
          Saisit(d->EditNom, QStringLiteral("NTF essai"));
          d->ComboEllipsoide->setFocus();
          QTest::keyClick(d->ComboEllipsoide, Qt::Key_Down);
          Saisit(d->EditDeltaX, QStringLiteral("-168"));
          Saisit(d->EditDeltaY, QStringLiteral("-60"));
          Saisit(d->EditDeltaZ, QStringLiteral("320"));
          Clique(d->OKBtn);
        });
        Clique(p_->ButtonAjoutDatum);
      }
      {
        TModal<> m([&](QDialog*) {
          TDlgProjection* s = p_->DlgProjection;
          Saisit(s->EditNom, QStringLiteral("Lambert II étendu"));
          Saisit(s->EditDescription, QStringLiteral("Lambert zone II, France entière"));
          ChoisitNature(s, QStringLiteral("Lambert Conique Sécant"));
          s->ComboDatum->setCurrentIndex(1);
          Cellule(s, "X0", QStringLiteral("600000"));
          Cellule(s, "Y0", QStringLiteral("2200000"));
          Cellule(s, "Landa0", QStringLiteral("2°20'14.025''"));
          Cellule(s, "Phi0", QStringLiteral("52g"));
          Cellule(s, "Phi1", QStringLiteral("45.898918964419°"));
          Cellule(s, "Phi2", QStringLiteral("47.696014502038°"));
          Clique(s->OKBtn);
        });
        Clique(p_->ButtonAjoutProjection);
      }
      Clique(p_->OKBtn);
    });
    Clique(f_->Button1);
    QVERIFY(parametres.Vu);
    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join("\n")));
    QCOMPARE(f_->ComboDestination->count(), 3);
    // echo "2.35 48.85" | cs2cs +proj=longlat +datum=WGS84 +to +proj=lcc
    //   +lat_1=45.898918964419 +lat_2=47.696014502038 +lat_0=46.8 +lon_0=2.337229166667
    //   +x_0=600000 +y_0=2200000 +a=6378249.2 +rf=293.466021294 +towgs84=-168,-60,320 -f %.4f
    //   → 600990.8924 2427961.5117
    const auto [x, y] = convertit(*f_, 2);
    QVERIFY2(std::fabs(x - 600990.8924) < 0.002 && std::fabs(y - 2427961.5117) < 0.002,
             qPrintable(f_->EditXDest->text() + " " + f_->EditYDest->text()));
    const std::string avant = Catalogue();
    QVERIFY(avant.find("Lambert II étendu") != std::string::npos);

    Clique(f_->Button3);  // "Quitter": the window closes; the catalogue is saved
    banc_->Ferme();
    TForm1& f = banc_->Ouvre();
    QCOMPARE(f.ComboDestination->itemText(2), QStringLiteral("Lambert II étendu"));
    std::string apres;
    f.Donnees->SauveFlux(apres);
    QCOMPARE(apres, avant);
    const auto [x2, y2] = convertit(f, 2);
    QCOMPARE(x2, x);
    QCOMPARE(y2, y);
    QVERIFY(banc_->Messages.isEmpty());
  }

  // The README's pictures: VESTREL_CAPTURE=<folder> writes them there.
  void captures() {
    const QByteArray dossier = qgetenv("VESTREL_CAPTURE");
    if (dossier.isEmpty()) QSKIP("VESTREL_CAPTURE is not set");
    Ouvre();
    Montre();
    p_->PageControl->setCurrentIndex(2);
    Selectionne(p_->ListSimple, QStringLiteral("UTM 31"));
    QVERIFY(p_->grab().save(QString::fromLocal8Bit(dossier) + QStringLiteral("/parametres.png")));
    TModal<> m([&](QDialog* d) {
      auto* s = p_->DlgProjection;
      s->GridParametre->setCurrentCell(0, 1);
      QVERIFY(d->grab().save(QString::fromLocal8Bit(dossier) + QStringLiteral("/dial_projection.png")));
      d->reject();
    });
    p_->PageControl->setCurrentIndex(3);
    Selectionne(p_->ListMultiple, QStringLiteral("TM 3"));
    Clique(p_->Button10);
    QVERIFY(m.Vu);
  }
};

QTEST_MAIN(TestParametres)
#include "parametres_test.moc"
