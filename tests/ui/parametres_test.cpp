// The parameters window and its editors on the offscreen platform: the modal
// dialogs are driven from inside their own event loops, real files in a
// temporary folder. The editors' scenarios are tables in tests/ui/data.
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>
#include <list>

#include "../commun/empreinte.h"
#include "banc_fenetre.h"
#include "catalogue/donnee.h"
#include "tools/nombres.h"

using namespace vestrel;
using namespace vestrel::pilote;

class TestParametres : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBancFenetre> banc_;
  TForm1* f_ = nullptr;
  TDlgParametre* p_ = nullptr;

  // The main window on that data file, and its parameters window shown.
  void Ouvre(const std::string& donnees = kCatalogueEssai, bool montre = true) {
    f_ = &banc_->Ouvre(donnees.c_str());
    p_ = banc_->Parametres();
    f_->MontreParametres = [this] { p_->exec(); };
    if (montre) Montre(p_);
  }
  std::string Catalogue() { return essai::TexteSauve(*f_->Donnees); }
  // One step of a scenario (the legend is in tests/ui/data/editeurs.txt) in
  // the dialog `d` it opened, or on the parameters window when `d` is null.
  std::string avant_, donnees_;
  void Etape(QDialog* d, const QStringList& e) {
    const QString& op = e[0];
    QWidget* cadre = d ? static_cast<QWidget*>(d) : p_;
    QWidget* w = e.size() > 1 ? cadre->findChild<QWidget*>(e[1]) : nullptr;
    auto* lig = qobject_cast<QLineEdit*>(w);
    auto* s = qobject_cast<TDlgProjection*>(d);
    if (op == "saisit" || op == "tape") {
      QVERIFY2(lig, qPrintable(e[1]));
      Saisit(lig, e.value(2), op == "saisit");
    } else if (op == "texte") {
      lig->setText(e[2]);
    } else if (op == "touche") {
      if (!lig) w->setFocus();
      QTest::keyClick(w, e[2] == "Return" ? Qt::Key_Return : e[2] == "End" ? Qt::Key_End : Qt::Key_Down);
    } else if (op == "voit") {
      auto* choix = qobject_cast<QComboBox*>(w);
      QCOMPARE(choix ? choix->currentText() : (w ? w : cadre)->property(qPrintable(w ? "text" : e[1])).toString(),
               e.value(2));
    } else if (op == "actifs") {
      for (const QString& nom : e[1].split(' ')) QCOMPARE(cadre->findChild<QWidget*>(nom)->isEnabled(), e[2] == "oui");
    } else if (op == "clique") {
      auto* m = qobject_cast<QMessageBox*>(d);
      const auto bouton = e[1] == "Ok"    ? QMessageBox::Ok
                          : e[1] == "Oui" ? QMessageBox::Yes
                          : e[1] == "Non" ? QMessageBox::No
                                          : QMessageBox::Cancel;
      Clique(m ? m->button(bouton) : w);
    } else if (op == "focus") {
      QVERIFY(w == QApplication::focusWidget() || w->isAncestorOf(QApplication::focusWidget()));
    } else if (op == "ouvert") {
      QCOMPARE(d && d->isVisible(), e[1] == "oui");
    } else if (op == "choix") {
      auto* choix = qobject_cast<QComboBox*>(w);
      const int i = choix->findText(e[2]);
      QVERIFY2(i >= 0, qPrintable(e[2]));
      choix->setCurrentIndex(i);
      emit choix->activated(i);
    } else if (op == "cellule" || op == "lit") {  // in the grid, by the parameter's name
      const auto trouves = s->GridParametre->findItems(e[1], Qt::MatchExactly);
      QVERIFY2(!trouves.isEmpty(), qPrintable(e[1]));
      QTableWidgetItem* cellule = s->GridParametre->item(trouves.front()->row(), 1);
      if (op == "lit") QCOMPARE(cellule->text(), e[2]);
      else cellule->setText(e[2]);
    } else if (op == "rang") {
      QCOMPARE(s->GridParametre->item(s->GridParametre->currentRow(), 0)->text(), e[1]);
    } else if (op == "inchangé" || op == "vide") {
      QCOMPARE(Catalogue(), op == "vide" ? std::string() : avant_);
    } else if (op == "contient" || op == "sans") {
      QVERIFY2((Catalogue().find(e[1].toStdString()) != std::string::npos) == (op == "contient"), qPrintable(e[1]));
    } else if (op == "compte") {
      QCOMPARE(qobject_cast<QListWidget*>(w)->count(), e[2].toInt());
    } else if (op == "ligne") {
      QCOMPARE(qobject_cast<QListWidget*>(w)->item(e[2].toInt())->text(), e[3]);
    } else if (op == "coche") {
      qobject_cast<TDlgImportation*>(d)->CheckListBoxImport->item(e[1].toInt())->setCheckState(
          e[2] == "oui" ? Qt::Checked : Qt::Unchecked);
    } else if (op == "choisit") {
      Choisit(d, banc_->Racine(), e[1], e.value(2) == "force");
    } else if (op == "ecrit" || op == "copie") {
      const std::string chemin = (banc_->Racine() + '/' + e[1]).toStdString();
      if (op == "copie") QCOMPARE(Win1252VersUtf8(LitFichier(chemin)), Catalogue());
      else EcritFichierSur(chemin, Utf8VersWin1252(e[2].toStdString()));
    } else if (op == "fidèle") {
      TDonnees relu;
      TFlux flux(Catalogue());
      relu.ChargeFlux(flux);
      const std::string edite = essai::Empreinte(*f_->Donnees), frais = essai::Empreinte(relu);
      QVERIFY2(edite == frais, (edite + "\n---\n" + frais).c_str());
    } else if (op == "intact") {
      QCOMPARE(LitFichier(banc_->CheminDonnees()), donnees_);
    } else if (op != "message" && op != "aucune") {
      QFAIL(qPrintable("étape inconnue : " + op));
    }
  }

  // The scenarios of a table: each its title row ("[name] | data file") and
  // its steps, their cells joined by "|".
  static QList<std::pair<QStringList, QStringList>> Scenarios(const char* fichier) {
    QList<std::pair<QStringList, QStringList>> scenarios;
    for (const QStringList& ligne : Table(fichier))
      if (ligne[0].startsWith('['))
        scenarios.append({ligne, {}});
      else
        scenarios.back().second << ligne.join('|');
    return scenarios;
  }
  // Plays the steps from the parameters window; the messages shown are those
  // of the steps and no other.
  void Joue(QStringList etapes) {
    avant_ = Catalogue();
    donnees_ = LitFichier(banc_->CheminDonnees());
    etapes.replaceInStrings(QStringLiteral("$RACINE"), banc_->Racine());
    QStringList messages;
    for (const QString& etape : etapes)
      if (etape.startsWith("message|")) messages << "Vestrel | " + etape.mid(8);
    for (qsizetype i = 0; i < etapes.size() && !QTest::currentTestFailed();) {
      const QStringList e = etapes[i++].split('|');
      if (e[0] != "ouvre") {
        Etape(nullptr, e);
        continue;
      }
      auto* liste = e.size() > 2 ? p_->findChild<QListWidget*>(e[2]) : nullptr;
      if (liste) liste->setFocus();  // the current entry the focus gives is no selection
      if (e.size() > 3) {
        const auto trouves = liste->findItems(e[3], Qt::MatchExactly);
        QVERIFY2(!trouves.isEmpty(), qPrintable(e[3]));
        liste->setCurrentItem(trouves.front());
      }
      // "puis": the next dialog the same click opens.
      std::list<TModal<QDialog>> suites;
      std::function<void(QDialog*)> agit = [&](QDialog* d) {
        while (i < etapes.size() && d->isVisible() && !QTest::currentTestFailed()) Etape(d, etapes[i++].split('|'));
        if (d->isVisible()) d->reject();
        if (etapes.value(i) == "puis" && ++i) suites.emplace_back(agit);
      };
      QCOMPARE(Dialogue(p_->findChild<QWidget*>(e[1]), agit), etapes.value(i) != "aucune");
    }
    if (!QTest::currentTestFailed()) QCOMPARE(banc_->Messages, messages);
  }

 private slots:
  void init() { banc_ = std::make_unique<TBancFenetre>(); }
  void cleanup() { banc_.reset(); }

  // A scenario a row: its data file (empty: the test catalogue) and its steps.
  void scenarios_data() {
    QTest::addColumn<QString>("donnees");
    QTest::addColumn<QStringList>("etapes");
    for (const char* fichier : {"editeurs.txt", "textes.txt", "listes.txt", "grille.txt", "fichiers.txt"})
      for (const auto& [titre, etapes] : Scenarios(fichier))
        QTest::newRow(qPrintable(titre[0].mid(1).chopped(1))) << titre.value(1) << etapes;
  }
  void scenarios() {
    QFETCH(QString, donnees);
    QFETCH(QStringList, etapes);
    std::string texte = donnees.isEmpty() ? kCatalogueEssai : "";
    if (!donnees.isEmpty())
      for (const QStringList& ligne : Table(donnees)) texte += ligne.join('|').toStdString() + "\r\n";
    Ouvre(texte);
    Joue(etapes);
  }

  // The switch writes the settings file at once. Switched on again in a
  // session that did not load "donnees.txt", it offers to load it now; the
  // exit then saves over it only after a question.
  void caseAutomatique() {
    const std::string chemin = banc_->CheminDonnees();
    // The window closed, "Recharger" the answer to a question at exit: the
    // question's text, empty when none was asked.
    const auto ferme = [&] {
      QString question;
      TModal<QMessageBox> sortie(Reponse("Recharger", &question));
      banc_->Ferme();
      return question;
    };
    auto session = [&](bool reponse) {
      banc_->Ini().SetAutoSave(false);
      Ouvre();
      QVERIFY(Dialogue<QMessageBox>(p_->CheckAutomatique, [&](QMessageBox* m) {
        QVERIFY(m->text().startsWith(QString::fromStdString("Charger maintenant les données de " + chemin)));
        Clique(m->button(reponse ? QMessageBox::Yes : QMessageBox::No));
      }));
      QCOMPARE(LitFichier(banc_->Ini().NomFichier), std::string("AutoSave = OUI\n"));
      p_->accept();
    };
    // "Non": the catalogue stays as it is; at exit, "Recharger" leaves the
    // file alone.
    session(false);
    QVERIFY(ferme().contains(QString::fromStdString(chemin + ".bak")));
    QCOMPARE(LitFichier(chemin), Utf8VersWin1252(kCatalogueEssai));
    // "Oui": loaded now, and saved at exit with no question.
    session(true);
    const std::string catalogue = Catalogue();
    QCOMPARE(ferme(), QString());
    QCOMPARE(Win1252VersUtf8(LitFichier(chemin)), catalogue);
    // Loaded at start: off and on again asks nothing.
    Ouvre();
    Clique(p_->CheckAutomatique);
    QCOMPARE(LitFichier(banc_->Ini().NomFichier), std::string("AutoSave = NON\n"));
    QVERIFY(!Dialogue<QMessageBox>(p_->CheckAutomatique, [](QMessageBox* m) { m->reject(); }));
    QVERIFY(banc_->Ini().AutoSave);
  }

  // Through the windows: an ellipsoid, a datum on it and a Lambert system on
  // that datum, then a point converted with it.
  void sessionComplete() {
    Ouvre("", false);
    Montre(f_);
    QVERIFY(Dialogue(f_->Button1, [&](QDialog*) { Joue(Scenarios("session.txt").front().second); }));
    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join("\n")));
    f_->ComboDestination->setCurrentIndex(2);
    f_->EditXSource->setText(QStringLiteral("48.85°"));
    f_->EditYSource->setText(QStringLiteral("2.35°"));
    Clique(f_->Button2);
    // echo "2.35 48.85" | cs2cs +proj=longlat +datum=WGS84 +to +proj=lcc
    //   +lat_1=45.898918964419 +lat_2=47.696014502038 +lat_0=46.8 +lon_0=2.337229166667
    //   +x_0=600000 +y_0=2200000 +a=6378249.2 +rf=293.466021294 +towgs84=-168,-60,320 -f %.4f
    //   → 600990.8924 2427961.5117
    const double x = LitReel(f_->EditXDest->text().toStdString()), y = LitReel(f_->EditYDest->text().toStdString());
    QVERIFY2(std::fabs(x - 600990.8924) < 0.002 && std::fabs(y - 2427961.5117) < 0.002,
             qPrintable(f_->EditXDest->text() + " " + f_->EditYDest->text()));
  }
};

QTEST_MAIN(TestParametres)
#include "parametres_test.moc"
