// The main window on the offscreen platform, driven through its real widgets.
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "banc_fenetre.h"
#include "ui/dial_fichier.h"
#include "tools/outils.h"

using namespace vestrel;
using namespace vestrel::pilote;

namespace {

// Index of some systems in the choices of the test catalogue.
enum { kWGS84 = 0, kNTF = 1, kPlateCarree = 3, kUTM31 = 4, kTM3 = 5 };

double Angle(QLineEdit* edit) { return TexteVersAngle(edit->text().toStdString()); }

}  // namespace

class TestFenetrePrincipale : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBancFenetre> banc_;

  // The window program itself on the test's settings folder (the bench's
  // XDG_CONFIG_HOME), waited for until it holds the lock on that folder: its
  // catalogue loaded, TERM caught since before.
  void LanceFenetre(QProcess& fenetre) {
    fenetre.start(QStringLiteral(VESTREL_FENETRE), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QVERIFY(fenetre.waitForStarted());
    const QString fd = QStringLiteral("/proc/%1/fd").arg(fenetre.processId());
    const QString dossier = QDir(QString::fromStdString(banc_->Ini().Dossier)).canonicalPath();
    QVERIFY(QTest::qWaitFor([&] {
      for (const QString& n : QDir(fd).entryList(QDir::AllEntries | QDir::System)) {
        QFile etat(fd + QStringLiteral("info/") + n);
        if (QFileInfo(fd + '/' + n).symLinkTarget() == dossier && etat.open(QIODevice::ReadOnly) &&
            etat.readAll().contains("FLOCK"))
          return true;
      }
      return false;
    }, 30000));
  }

  void Convertit(TForm1& f, int source, const QString& x, const QString& y) {
    f.ComboSource->setCurrentIndex(source);
    Saisit(f.EditXSource, x);
    Saisit(f.EditYSource, y);
    QTest::mouseClick(f.Button2, Qt::LeftButton);
  }

 private slots:
  void init() { banc_ = std::make_unique<TBancFenetre>(); }
  void cleanup() { banc_.reset(); }

  // Each side follows the kind of its system (datum, one zone, zones): the
  // Paris box (a disabled one keeps its state), the zone field, the
  // description shown from its start. No two controls share an accelerator
  // key; descriptions and results are read-only.
  void cotesSelonLaNature() {
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    f.CheckSourceParis->setChecked(true);
    const std::pair<int, const char*> natures[] = {
        {kNTF, "Nouvelle Triangulation Française"}, {kPlateCarree, "Carte du monde"}, {kTM3, "Fuseaux de 6°"}};
    for (const auto& [indice, description] : natures) {
      f.ComboSource->setCurrentIndex(indice);
      f.ComboDestination->setCurrentIndex(indice);
      for (QLineEdit* champ : {f.EditDescription1, f.EditDescription2}) {
        QCOMPARE(champ->text(), QString::fromUtf8(description));
        QCOMPARE(champ->toolTip(), champ->text());
        QCOMPARE(champ->cursorPosition(), 0);
      }
      for (QWidget* paris : {f.CheckSourceParis, f.CheckDestParis}) QCOMPARE(paris->isEnabled(), indice == kNTF);
      for (QWidget* fuseau : {f.EditFuseauSource, f.EditFuseauDest}) QCOMPARE(fuseau->isEnabled(), indice == kTM3);
      QVERIFY(f.CheckSourceParis->isChecked());
      QSet<QKeySequence> touches;
      for (QWidget* controle : f.findChildren<QWidget*>()) {
        auto* cadre = qobject_cast<QGroupBox*>(controle);
        const QString texte = cadre ? cadre->title() : controle->property("text").toString();
        const QKeySequence touche = QKeySequence::mnemonic(texte);
        if (touche.isEmpty() || controle->window() != &f) continue;
        QVERIFY2(!touches.contains(touche), qPrintable(texte));
        touches.insert(touche);
      }
    }
    for (QLineEdit* sortie : {f.EditDescription1, f.EditDescription2, f.EditXDest, f.EditYDest,
                              f.EditConvergence, f.EditAlteration, f.EditEcartEchelle, f.EditMethode})
      QVERIFY(sortie->isReadOnly());
  }

  // TERM, HUP and INT to the real window program end it through its exit
  // save: the data file, written with LF alone, comes back in the saved form.
  void signalTermineParLaSortie() {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
      banc_->EcritDonnees(QByteArray(kCatalogueEssai).replace("\r\n", "\n").toStdString());
      QProcess fenetre;
      LanceFenetre(fenetre);
      QCOMPARE(::kill(static_cast<pid_t>(fenetre.processId()), signal), 0);
      QVERIFY2(fenetre.waitForFinished(20000), strsignal(signal));
      QCOMPARE(fenetre.exitStatus(), QProcess::NormalExit);
      QCOMPARE(fenetre.exitCode(), 0);
      QCOMPARE(LitFichier(banc_->CheminDonnees()), Utf8VersWin1252(kCatalogueEssai));
    }
  }

  // Returning from the parameters window resets both choices and, with
  // automatic saving, saves a changed catalogue at once, an unchanged one
  // not. Two windows on one settings folder, the one started second told so.
  // The program does not save over what the other window saved since: ended
  // by TERM it asks, TERM again ends the question, and its catalogue goes to
  // a file of its own. The other window, its file then changed behind it,
  // asks at each save and does as answered; cancelled, it writes nothing and
  // does not close.
  void deuxiemeFenetre() {
    banc_->EcritDonnees(kCatalogueEssai);
    QProcess autre;
    LanceFenetre(autre);
    TForm1& f = banc_->Ouvre();
    std::string nom = "Bessel";
    f.MontreParametres = [&] {
      if (!nom.empty()) f.Donnees->AjouteLigne("Ellipsoide=\"" + nom + "\" \"\" 6377397.155 0.08169683");
    };
    f.ComboSource->setCurrentIndex(kTM3);
    f.ComboDestination->setCurrentIndex(kPlateCarree);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    QCOMPARE(f.ComboDestination->currentIndex(), 0);
    QVERIFY(!f.EditFuseauSource->isEnabled());
    const std::string chemin = banc_->CheminDonnees();
    std::string fichier = LitFichier(chemin);
    QVERIFY(fichier.find("Bessel") != std::string::npos);
    QVERIFY(QTest::qWaitFor([&] {
      ::kill(static_cast<pid_t>(autre.processId()), SIGTERM);
      return autre.waitForFinished(300);
    }, 20000));
    QCOMPARE(LitFichier(chemin), fichier);
    QCOMPARE(LitFichier(banc_->Ini().Dossier + "donnees-2.txt"), Utf8VersWin1252(kCatalogueEssai));
    nom.clear();  // unchanged: the file is left alone
    std::filesystem::remove(chemin);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    QVERIFY(!FichierExiste(chemin));
    EcritFichierSur(chemin, fichier);

    QString question;
    const auto repond = [&](const char* ellipsoide, const char* reponse, const std::function<void()>& action) {
      nom = ellipsoide;
      fichier += "Ellipsoide=\"" + nom + " ailleurs\" \"\" 6378137 0.08\r\n";
      EcritFichierSur(chemin, fichier);
      TModal<QMessageBox> modal(Reponse(reponse, &question));
      action();
      QVERIFY(modal.Vu);
    };
    const auto parametres = [&] { QTest::mouseClick(f.Button1, Qt::LeftButton); };
    repond("Airy", "Annuler", parametres);
    QVERIFY(question.contains(QStringLiteral("Annuler : rien n'est enregistré")));
    repond("Helmert", "Annuler", [&] { QVERIFY(!f.close()); });
    QCOMPARE(LitFichier(chemin), fichier);
    repond("Hayford", "Recharger", parametres);
    QVERIFY(f.Donnees->TrouveEllipsoide("Hayford ailleurs") && !f.Donnees->TrouveEllipsoide("Hayford"));
    repond("Plessis", "Remplacer", parametres);
    fichier = LitFichier(chemin);
    QVERIFY(fichier.find("\"Plessis\"") != std::string::npos);
    // Saved elsewhere as the window closes: "donnees.txt" stays, and the
    // exit asks nothing more.
    TModal<QFileDialog> ailleurs([&](QFileDialog* d) { Choisit(d, banc_->Racine(), QStringLiteral("ailleurs.txt")); });
    repond("Plessis", "Enregistrer sous…", [&] { QVERIFY(f.close()); });
    QVERIFY(LitFichier(banc_->Racine().toStdString() + "/ailleurs.txt").find("\"Plessis\"") != std::string::npos);
    banc_->Ferme();
    QCOMPARE(LitFichier(chemin), fichier);
    QCOMPARE(banc_->Messages.size(), 1);
    QVERIFY(banc_->Messages[0].startsWith(QStringLiteral("Vestrel | Une autre fenêtre de Vestrel utilise déjà")));
  }

  // Enter converts from any control of the window.
  void entreeConvertit() {
    TForm1& f = banc_->Ouvre();
    Montre(&f);
    for (QWidget* widget : QWidgetList{f.EditXSource, f.EditYSource, f.EditDescription1, f.ComboSource,
                                       f.CheckSourceParis, f.ComboDestination, f.CheckDestParis, f.EditXDest,
                                       f.EditConvergence, f.EditAlteration}) {
      f.EditAlteration->clear();
      widget->setFocus();
      QTest::keyClick(widget, Qt::Key_Return);
      QVERIFY2(f.EditAlteration->text() == QStringLiteral("1"), qPrintable(widget->objectName()));
    }
    QVERIFY(banc_->Messages.isEmpty());
  }

  // The unit buttons in order, each giving texts with its own mark, and the
  // Paris box of the destination: WGS84 to NTF from Paris. Expected values:
  //   printf '2.352222222222222 48.84444444444445\n2.352222222222222 48.84530388113715\n' |
  //   cs2cs -f %.12f +proj=longlat +datum=WGS84 +to +proj=longlat +a=6378249.2 +b=6356515
  //         +towgs84=-168,-60,320 +pm=paris
  //   -> 0.015715842990 48.844513633825 and 0.015715855358 48.845373075579
  // (the second point is 1.5e-5 rad further north), and the convergence from
  //   echo 48.844513633825 2.352945009657 48.845373075579 2.352945022024 |
  //   geod +a=6378249.2 +b=6356515 -I -f %.15f   -> 0.000544182562807°
  void unitesEtParis() {
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    f.ComboDestination->setCurrentIndex(kNTF);
    Clique(f.CheckDestParis);
    const char* const marques[] = {"°", "'", "''", "g"};
    for (int unite = 0; unite < 4; ++unite) {
      Clique(f.ItemsUnite->button(unite));
      Convertit(f, kWGS84, QStringLiteral("48°50'40''"), QStringLiteral("2°21'8''"));
      QVERIFY2(f.EditXDest->text().endsWith(QString::fromUtf8(marques[unite])) &&
                   (unite == 2) == f.EditXDest->text().endsWith(QStringLiteral("''")),
               qPrintable(f.EditXDest->text()));
      QVERIFY(std::fabs(Angle(f.EditXDest) - 48.844513633825 * DegresVersRadians) < 3e-7);
      QVERIFY(std::fabs(Angle(f.EditYDest) - 0.015715842990 * DegresVersRadians) < 3e-7);
      QVERIFY(std::fabs(Angle(f.EditConvergence) - 0.000544182563 * DegresVersRadians) < 3e-7);
    }
  }

  // A row of convertir.txt: case, source, x, y, zone, unit, message.
  void messagesDeConvertir_data() {
    QTest::addColumn<QStringList>("cas");
    for (const QStringList& l : Table(QStringLiteral("convertir.txt"))) QTest::newRow(qPrintable(l[0])) << l;
  }
  void messagesDeConvertir() {
    QFETCH(QStringList, cas);
    const int source = cas[1].toInt();
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    f.EditFuseauSource->setText(cas[4]);
    f.ItemsUnite->setExclusive(cas[5] != "-1");
    f.ItemsUnite->button(0)->setChecked(cas[5] == "0");
    Convertit(f, source, cas[2], cas[3]);
    QCOMPARE(banc_->Messages, QStringList{QStringLiteral("Vestrel | ") + cas[6]});
    if (source == kTM3) QCOMPARE(f.focusWidget(), f.EditFuseauSource);
  }

  // A single-zone system ignores the zone field; a multi-zone destination
  // gives the zone of the point (negative south of the equator), which takes
  // it back.
  void fuseaux() {
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    // Copier before any result says so.
    QTest::mouseClick(f.ButtonCopier, Qt::LeftButton);
    QCOMPARE(banc_->Messages,
             QStringList{QStringLiteral("Vestrel | Rien à copier : convertissez d'abord un point")});
    banc_->Messages.clear();
    f.ComboDestination->setCurrentIndex(kPlateCarree);
    f.EditFuseauSource->setText(QStringLiteral("abc"));
    Convertit(f, kPlateCarree, QStringLiteral(" 231500.5\t"), QStringLiteral("-1000 "));
    QCOMPARE(f.EditXDest->text(), QStringLiteral("231500.500"));
    QCOMPARE(f.EditYDest->text(), QStringLiteral("-1000.000"));
    // Another system: the results of the previous one go.
    f.ComboDestination->setCurrentIndex(kUTM31);
    QCOMPARE(f.EditXDest->text(), QString());
    // A point far from its region: the result, and the warning beside it, no
    // message box (the next message is the zone's below).
    Convertit(f, kWGS84, QStringLiteral("45°"), QStringLiteral("20°"));
    QVERIFY(!f.EditXDest->text().isEmpty());
    QVERIFY2(f.LabelAvertissement->text().startsWith(QStringLiteral(
                 "Attention : point loin de la région d'emploi de UTM 31 (altération linéaire 1.0")),
             qPrintable(f.LabelAvertissement->text()));
    // On the central meridian, no warning, and the alteration is k0 itself,
    // to the digits that mean something, and as a scale error.
    Convertit(f, kWGS84, QStringLiteral("45°"), QStringLiteral("3°"));
    QCOMPARE(f.LabelAvertissement->text(), QString());
    QCOMPARE(f.EditAlteration->text(), QStringLiteral("0.9996"));
    QCOMPARE(f.EditEcartEchelle->text(), QStringLiteral("-40.00 cm/km (-400.0 ppm)"));

    // The destination zone: the point's, then a neighbour typed by the user
    // (kept through conversions), a zone the system lacks, and empty again.
    f.ComboDestination->setCurrentIndex(kTM3);
    Convertit(f, kWGS84, QStringLiteral("-33.5°"), QStringLiteral("-70.25°"));
    QCOMPARE(f.EditFuseauDest->text(), QStringLiteral("-19"));
    const QString x19 = f.EditXDest->text();
    Saisit(f.EditFuseauDest, QStringLiteral("-18"));
    Convertit(f, kWGS84, QStringLiteral("-33.5°"), QStringLiteral("-70.25°"));
    QCOMPARE(f.EditFuseauDest->text(), QStringLiteral("-18"));
    const QString x = f.EditXDest->text(), y = f.EditYDest->text();
    QVERIFY(x.toDouble() > x19.toDouble() + 400000);  // far east of zone -18's meridian
    // Ctrl+C from a field without a selection copies the point and its
    // results for a spreadsheet.
    f.EditXSource->setFocus();
    QTest::keySequence(f.EditXSource, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Départ\tLatitude\tLongitude\tFuseau\tArrivée\tEasting (m)\t"
                            "Northing (m)\tFuseau\tConvergence\tAltération linéaire\t"
                            "Écart d'échelle\tMéthode\n"
                            "WGS84\t-33.5°\t-70.25°\t\tTM 3\t%1\t%2\t-18\t%3\t%4\t%5\t%6\n")
                 .arg(x, y, f.EditConvergence->text(), f.EditAlteration->text(),
                      f.EditEcartEchelle->text(), f.EditMethode->text()));
    Saisit(f.EditFuseauDest, QStringLiteral("61"));
    Convertit(f, kWGS84, QStringLiteral("-33.5°"), QStringLiteral("-70.25°"));
    QCOMPARE(banc_->Messages.value(0),
             QStringLiteral("Vestrel | Le fuseau d'arrivée 61 n'existe pas dans TM 3 : fuseaux 1 "
                            "à 60, et -1 à -60 au sud"));
    banc_->Messages.clear();
    QCOMPARE(f.focusWidget(), f.EditFuseauDest);
    QCOMPARE(f.EditMethode->text(), QString());
    Saisit(f.EditFuseauDest, QString());
    Convertit(f, kWGS84, QStringLiteral("-33.5°"), QStringLiteral("-70.25°"));
    QCOMPARE(f.EditFuseauDest->text(), QStringLiteral("-19"));

    // Back from zone -18.
    f.ComboDestination->setCurrentIndex(kWGS84);
    f.EditFuseauSource->setText(QStringLiteral("-18"));
    Convertit(f, kTM3, x, y);
    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join('\n')));
    QVERIFY(std::fabs(Angle(f.EditXDest) + 33.5 * DegresVersRadians) < 1e-9);
    QVERIFY(std::fabs(Angle(f.EditYDest) + 70.25 * DegresVersRadians) < 1e-9);
  }

  // 100 000 points in decimal degrees with decimal commas, chosen through the
  // file chooser: cancelled at once (no file left), then converted to the end
  // while the window keeps turning its events, into the same bytes as
  // vestrel-cli with the same choices; the failed lines summed up.
  void convertirUnFichier() {
    const QString dossier = banc_->Racine();
    QByteArray points = "# id;latitude;longitude\r\n";
    for (int i = 0; i < 100000; ++i) {
      const QByteArray n = QByteArray::number(i % 10000).rightJustified(4, '0');
      points += "P" + QByteArray::number(i) + ";4" + QByteArray::number(i % 7) + "," + n + ";" +
                QByteArray::number(i % 5) + "," + n + (i % 3 ? ";note\r\n" : "\r\n");
      if (i == 1234) points += "P-faux;48°;2\r\n";
    }
    EcritFichierSur(dossier.toStdString() + "/points.csv", points.toStdString());
    TForm1& f = banc_->Ouvre(kCatalogueEssai);
    Montre(&f);
    f.ComboDestination->setCurrentIndex(kUTM31);
    const QString sortie = dossier + QStringLiteral("/points-converti.csv");
    QVERIFY(Dialogue<TDlgFichier>(f.ButtonFichier, [&](TDlgFichier* d) {
      QVERIFY(Dialogue<QFileDialog>(d->ButtonChoisir,
                                    [&](QFileDialog* choix) { Choisit(choix, dossier, QStringLiteral("points.csv")); }));
      QVERIFY(d->Apercu->toPlainText().startsWith(QStringLiteral("# id;latitude;longitude\nP0;40,0000;0,0000\n")));
      QCOMPARE(d->ComboSeparateur->currentIndex(), 1);  // ";" seen in the first lines
      d->SpinId->setValue(1);
      d->SpinX->setValue(2);
      d->SpinY->setValue(3);
      d->ComboAngles->setCurrentIndex(1);
      Clique(d->CheckVirgule);

      QSignalSpy fin(d, &TDlgFichier::Termine);
      QTest::mouseClick(d->ButtonConvertir, Qt::LeftButton);
      QTest::mouseClick(d->ButtonAnnuler, Qt::LeftButton);
      QVERIFY(fin.wait(30000));
      QVERIFY2(d->Bilan->toPlainText().startsWith(QStringLiteral("Conversion annulée")),
               qPrintable(d->Bilan->toPlainText()));
      QCOMPARE(QDir(dossier).entryList(QDir::Files), QStringList{QStringLiteral("points.csv")});

      QTest::mouseClick(d->ButtonConvertir, Qt::LeftButton);
      QVERIFY(!d->ButtonFermer->isEnabled());
      QVERIFY(fin.wait(120000));
      QCOMPARE(d->Progression->value(), 100);
      const QStringList bilan = d->Bilan->toPlainText().split(QLatin1Char('\n'));
      QCOMPARE(bilan.value(0), QStringLiteral("100000 point(s) converti(s) dans %1 ; 1 ligne(s) en échec.").arg(sortie));
      QCOMPARE(bilan.value(1), QStringLiteral("ligne 1237 : Latitude de départ incorrecte, exemple 48.856614"));

      // Converted again: the existing file is kept unless the user agrees.
      QVERIFY(Dialogue<QMessageBox>(d->ButtonConvertir, [](QMessageBox* question) {
        QCOMPARE(question->button(QMessageBox::No)->text(), QStringLiteral("&Non"));
        question->button(QMessageBox::No)->click();
      }));
      QVERIFY(!d->EnCours());
      d->ButtonFermer->click();
    }));

    QProcess cli;
    cli.setWorkingDirectory(dossier);
    cli.start(QStringLiteral(VESTREL_CLI),
              QProcess::splitCommand(QStringLiteral("convertir --catalogue \"%1\" --depart WGS84 --arrivee \"UTM 31\" "
                                                    "--colonnes id=1,x=2,y=3 --separateur point-virgule "
                                                    "--angles dd --virgule-decimale points.csv")
                                         .arg(QString::fromStdString(banc_->CheminDonnees()))));
    QVERIFY(cli.waitForFinished(120000));
    QVERIFY(LitFichier(sortie.toStdString()) == cli.readAllStandardOutput().toStdString());
  }

  void echecDEnregistrement() {
    // The settings folder is a regular file: nothing can be created there,
    // even by root.
    EcritFichierSur(banc_->Racine().toStdString() + "/config", "");
    TForm1& f = banc_->Ouvre();
    // Told at start-up, before any edit, and again by the exit save.
    QCOMPARE(banc_->Messages.size(), 1);
    QVERIFY2(banc_->Messages.front().contains(QStringLiteral("n'est pas utilisable")),
             qPrintable(banc_->Messages.front()));
    f.show();
    QTest::mouseClick(f.Button3, Qt::LeftButton);  // "Quitter"
    QVERIFY(!f.isVisible());
    banc_->Ferme();
    QCOMPARE(banc_->Messages.size(), 2);
    QCOMPARE(banc_->Messages.back(),
             QStringLiteral("Vestrel | Problème à l'enregistrement des données dans ") +
                 QString::fromStdString(banc_->CheminDonnees()));
  }

  // Said at start, once each: the lines of "donnees.txt" the catalogue
  // cannot use, a datum whose grid file is missing (it converts with its
  // parameters).
  void demarrageAvecDesLignesInutilisables() {
    banc_->EcritDonnees(std::string(kCatalogueEssai) + "Inconnu=1 2 3\r\nDatum=\"D\" \"\" \"Absent\" 0 0 0\r\n" +
                        "Datum=\"Quadrillé\" \"\" \"GRS 80\" 1 2 3 \"absente.dat\"\r\n");
    TForm1& f = banc_->Ouvre();
    QCOMPARE(banc_->Messages.size(), 2);
    for (const QString& partie : {QString::fromStdString(banc_->CheminDonnees()),
                                  QStringLiteral("ligne 8 : Donnée Inconnu de nature inconnue"),
                                  QStringLiteral("ligne 9 : Ellipsoïde Absent inconnu dans le datum D")})
      QVERIFY2(banc_->Messages[0].contains(partie), qPrintable(banc_->Messages[0]));
    QCOMPARE(banc_->Messages[1], QStringLiteral("Vestrel | La grille absente.dat du datum Quadrillé n'est "
                                                "pas utilisée (fichier introuvable) : ses paramètres la remplacent"));
    f.ComboDestination->setCurrentIndex(f.ComboDestination->findText(QStringLiteral("Quadrillé")));
    Convertit(f, kWGS84, QStringLiteral("45°"), QStringLiteral("4°"));
    QCOMPARE(f.EditMethode->text(), QStringLiteral("3 paramètres (Quadrillé)"));
  }
};

QTEST_MAIN(TestFenetrePrincipale)
#include "fenetre_principale_test.moc"
