// The main window on the offscreen platform, driven through its real widgets.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>

#include "banc_fenetre.h"
#include "systems/multiple.h"
#include "tools/nombres.h"
#include "tools/outils.h"
#include "version.h"

using namespace vestrel;

namespace {

// A multi-zone system whose zones are 6° wide, numbered from 1 at 180° West,
// negative south of the equator; the grid is plain degrees times 1000. Enough
// to see the window hand zones over and back.
class TFuseauxEssai : public TMultiple {
 public:
  std::string Nature() const override { return "Fuseaux d'essai"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y,
                    int32_t& zone) const override {
    zone = static_cast<int32_t>(std::floor((lambda * RadiansVersDegres + 180) / 6)) + 1;
    if (phi < 0) zone = -zone;
    X = lambda * RadiansVersDegres * 1000;
    Y = phi * RadiansVersDegres * 1000;
  }
  void CartoVersGeo(int32_t, double X, double Y, double& phi, double& lambda) const override {
    lambda = X / 1000 * DegresVersRadians;
    phi = Y / 1000 * DegresVersRadians;
  }

 protected:
  void DecritParametres(TParametres&) override {}
};

// Index of each system in the choices of the test catalogue.
enum { kWGS84 = 0, kNTF = 1, kPlateCarree = 2, kFuseaux = 3 };

void AjouteFuseaux(TForm1& fenetre) {
  auto fuseaux = std::make_unique<TFuseauxEssai>();
  fuseaux->Nom = "Fuseaux";
  fuseaux->Description = "Fuseaux de 6°";
  fuseaux->Datum = fenetre.Donnees->Datums.front().get();
  fuseaux->SetValide(true);
  fenetre.Donnees->Multiples.push_back(std::move(fuseaux));
  fenetre.RemplitChoix();
}

void Tape(QLineEdit* edit, const QString& texte) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, texte);
}

double Angle(QLineEdit* edit) { return TexteVersAngle(edit->text().toStdString()); }

const QString kMessageLatitude = QStringLiteral("Latitude de départ incorrecte, exemple 2°24'17.036''");

}  // namespace

class TestFenetrePrincipale : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBancFenetre> banc_;

  TForm1& OuvreCatalogueEssai() {
    banc_->EcritDonnees(kCatalogueEssai);
    TForm1& fenetre = banc_->Ouvre();
    AjouteFuseaux(fenetre);
    return fenetre;
  }

 private slots:
  void init() { banc_ = std::make_unique<TBancFenetre>(); }
  void cleanup() { banc_.reset(); }

  void demarrageSurCatalogueVide() {
    banc_->EcritDonnees("");
    TForm1& f = banc_->Ouvre();
    for (QComboBox* choix : {f.ComboSource, f.ComboDestination}) {
      QCOMPARE(choix->count(), 1);
      QCOMPARE(choix->currentText(), QStringLiteral("WGS84"));
    }
    QCOMPARE(f.Label2->text(), QStringLiteral("&Latitude"));
    QCOMPARE(f.Label3->text(), QStringLiteral("Lon&gitude"));
    QCOMPARE(f.Label12->text(), QStringLiteral("&Latitude"));
    QCOMPARE(f.Label13->text(), QStringLiteral("Lon&gitude"));
    QVERIFY(f.CheckSourceParis->isEnabled() && f.CheckDestParis->isEnabled());
    QVERIFY(!f.EditFuseauSource->isEnabled() && !f.EditFuseauDest->isEnabled());
    QCOMPARE(f.windowTitle(), QStringLiteral("Vestrel de coordonnées - " VESTREL_VERSION_TEXTE));
    QVERIFY(banc_->Messages.isEmpty());
  }

  void controlesEtFenetre() {
    TForm1& f = banc_->Ouvre();
    const std::pair<const char*, const char*> textes[] = {
        {"Button1", "Paramètres ..."}, {"Button2", "Convertir"}, {"Button3", "Quitter"},
        {"Label9", "&Nom"}, {"Label10", "Description"}, {"Label7", "Fuseau"},
        {"Label1", "N&om"}, {"Label11", "Description"}, {"Label14", "Fuseau"},
        {"Label4", "Convergence"}, {"Label5", "Altération linéaire"},
        {"CheckSourceParis", "Paris"}, {"CheckDestParis", "Paris"},
        {"EditXSource", "0"}, {"EditYSource", "0"}, {"EditFuseauSource", "1"},
        {"EditXDest", "0"}, {"EditYDest", "0"}, {"EditFuseauDest", "1"},
        {"GroupBox1", "Départ"}, {"GroupBox2", "Arrivée"}, {"RadioUnite", "&Unité"}};
    for (auto [nom, texte] : textes) {
      QObject* controle = f.findChild<QObject*>(QString::fromLatin1(nom));
      QVERIFY2(controle, nom);
      QString lu = controle->property("text").toString();
      if (auto* cadre = qobject_cast<QGroupBox*>(controle)) lu = cadre->title();
      QCOMPARE(lu, QString::fromUtf8(texte));
    }
    for (const char* nom : {"ComboSource", "ComboDestination", "EditDescription1",
                            "EditDescription2", "Label2", "Label3", "Label12", "Label13",
                            "EditConvergence", "EditAlteration"})
      QVERIFY2(f.findChild<QWidget*>(QString::fromLatin1(nom)), nom);
    QVERIFY(!f.ComboSource->isEditable() && !f.ComboDestination->isEditable());
    QCOMPARE(f.Label9->buddy(), f.ComboSource);
    const QStringList unites = {QStringLiteral("degrés décimaux"), QStringLiteral("degrés minutes"),
                                QStringLiteral("degrés minutes secondes"), QStringLiteral("grades")};
    for (int i = 0; i < 4; ++i) QCOMPARE(f.ItemsUnite->button(i)->text(), unites[i]);
    QCOMPARE(f.ItemsUnite->checkedId(), 0);
    QVERIFY(f.Button2->isDefault());
    QCOMPARE(f.focusWidget(), f.Button1);
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(f.width() >= 509 && f.height() >= 384);
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
  }

  void coteSelonLaNature_data() {
    QTest::addColumn<int>("indice");
    QTest::addColumn<bool>("geographique");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<QString>("description");
    QTest::newRow("datum") << int(kNTF) << true << false
                           << QStringLiteral("Nouvelle Triangulation Française");
    QTest::newRow("une zone") << int(kPlateCarree) << false << false
                              << QStringLiteral("Carte du monde");
    QTest::newRow("zones") << int(kFuseaux) << false << true << QStringLiteral("Fuseaux de 6°");
  }
  void coteSelonLaNature() {
    QFETCH(int, indice);
    QFETCH(bool, geographique);
    QFETCH(bool, multiple);
    QFETCH(QString, description);
    TForm1& f = OuvreCatalogueEssai();
    QCOMPARE(f.ComboSource->count(), 4);
    f.CheckSourceParis->setChecked(true);
    f.ComboSource->setCurrentIndex(indice);
    f.ComboDestination->setCurrentIndex(indice);
    QCOMPARE(f.EditDescription1->text(), description);
    QCOMPARE(f.EditDescription2->text(), description);
    QCOMPARE(f.Label2->text(), geographique ? QStringLiteral("&Latitude") : QStringLiteral("&Easting (m)"));
    QCOMPARE(f.Label3->text(), geographique ? QStringLiteral("Lon&gitude") : QStringLiteral("&Northing (m)"));
    QCOMPARE(f.Label12->text(), geographique ? QStringLiteral("&Latitude") : QStringLiteral("Easting (m)"));
    QCOMPARE(f.Label13->text(), geographique ? QStringLiteral("Lon&gitude") : QStringLiteral("Northing (m)"));
    QCOMPARE(f.CheckSourceParis->isEnabled(), geographique);
    QCOMPARE(f.CheckDestParis->isEnabled(), geographique);
    QCOMPARE(f.EditFuseauSource->isEnabled(), multiple);
    QCOMPARE(f.EditFuseauDest->isEnabled(), multiple);
    // A disabled box keeps its state.
    QVERIFY(f.CheckSourceParis->isChecked());
  }

  void parametresRemettentLesChoix() {
    TForm1& f = OuvreCatalogueEssai();
    int ouvertures = 0;
    f.MontreParametres = [&] { ++ouvertures; };
    f.ComboSource->setCurrentIndex(kFuseaux);
    f.ComboDestination->setCurrentIndex(kPlateCarree);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    QCOMPARE(ouvertures, 1);
    QCOMPARE(f.ComboSource->currentIndex(), 0);
    QCOMPARE(f.ComboDestination->currentIndex(), 0);
    QCOMPARE(f.Label2->text(), QStringLiteral("&Latitude"));
    QCOMPARE(f.Label12->text(), QStringLiteral("&Latitude"));
    QVERIFY(!f.EditFuseauSource->isEnabled());
    QCOMPARE(f.EditDescription1->text(), f.EditDescription2->text());
  }

  void entreeConvertit_data() {
    QTest::addColumn<QString>("champ");
    for (const char* nom : {"EditXSource", "EditYSource", "EditDescription1", "ComboSource",
                            "CheckSourceParis", "ComboDestination", "CheckDestParis",
                            "EditXDest", "EditConvergence", "EditAlteration"})
      QTest::newRow(nom) << QString::fromLatin1(nom);
  }
  void entreeConvertit() {
    QFETCH(QString, champ);
    TForm1& f = banc_->Ouvre();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto* widget = f.findChild<QWidget*>(champ);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Return);
    QCOMPARE(f.EditAlteration->text(), QStringLiteral("1"));
    QVERIFY(banc_->Messages.isEmpty());
  }

  // WGS84 to NTF with longitudes from Paris, typed and clicked. Expected values:
  //   printf '2.352222222222222 48.84444444444445\n2.352222222222222 48.84530388113715\n' |
  //   cs2cs -f %.12f +proj=longlat +datum=WGS84 +to +proj=longlat +a=6378249.2 +b=6356515
  //         +towgs84=-168,-60,320 +pm=paris
  //   -> 0.015715842990 48.844513633825 and 0.015715855358 48.845373075579
  // (the second point is 1.5e-5 rad further north), and the convergence from
  //   echo 48.844513633825 2.352945009657 48.845373075579 2.352945022024 |
  //   geod +a=6378249.2 +b=6356515 -I -f %.15f   -> 0.000544182562807°
  void conversionVersNtfParis_data() {
    QTest::addColumn<int>("unite");
    QTest::addColumn<QString>("marque");
    QTest::addColumn<double>("tolerance");  // radians: the last written digit
    QTest::newRow("degrés décimaux") << 0 << QStringLiteral("°") << 2e-9;
    QTest::newRow("degrés minutes") << 1 << QStringLiteral("'") << 3e-7;
    QTest::newRow("degrés minutes secondes") << 2 << QStringLiteral("''") << 2e-8;
    QTest::newRow("grades") << 3 << QStringLiteral("g") << 2e-9;
  }
  void conversionVersNtfParis() {
    QFETCH(int, unite);
    QFETCH(QString, marque);
    QFETCH(double, tolerance);
    TForm1& f = OuvreCatalogueEssai();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    Tape(f.EditXSource, QStringLiteral("48°50'40''"));
    Tape(f.EditYSource, QStringLiteral("2°21'8''"));
    f.ComboDestination->setFocus();
    QTest::keyClick(f.ComboDestination, Qt::Key_Down);
    QCOMPARE(f.ComboDestination->currentText(), QStringLiteral("NTF"));
    QTest::mouseClick(f.CheckDestParis, Qt::LeftButton, {}, QPoint(4, f.CheckDestParis->height() / 2));
    QVERIFY(f.CheckDestParis->isChecked());
    QAbstractButton* bouton = f.ItemsUnite->button(unite);
    QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(4, bouton->height() / 2));
    QCOMPARE(f.ItemsUnite->checkedId(), unite);
    QTest::mouseClick(f.Button2, Qt::LeftButton);

    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join('\n')));
    for (QLineEdit* sortie : {f.EditXDest, f.EditYDest, f.EditConvergence}) {
      QVERIFY2(sortie->text().endsWith(marque), qPrintable(sortie->text()));
      QVERIFY(!sortie->text().contains(QLatin1Char(',')));
    }
    QVERIFY(unite != 1 || !f.EditXDest->text().endsWith(QStringLiteral("''")));
    QVERIFY(std::fabs(Angle(f.EditXDest) - 48.844513633825 * DegresVersRadians) < tolerance);
    QVERIFY(std::fabs(Angle(f.EditYDest) - 0.015715842990 * DegresVersRadians) < tolerance);
    QVERIFY(std::fabs(Angle(f.EditConvergence) - 0.000544182563 * DegresVersRadians) <
            tolerance + 1e-9);
    QCOMPARE(f.EditAlteration->text(), QStringLiteral("1"));
    QCOMPARE(f.EditFuseauDest->text(), QStringLiteral("1"));
  }

  void messagesDeConvertir_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("fuseau");
    QTest::addColumn<QString>("message");
    const QString longitude = QStringLiteral("Longitude de départ incorrecte, exemple 2°24'17.036''");
    const QString easting = QStringLiteral("Easting de départ incorrecte, exemple 231500");
    const QString northing = QStringLiteral("Northing de départ incorrecte, exemple 231500");
    const QString zone = QStringLiteral("Le numéro de fuseau de départ est incorrecte, exemple 12");
    QTest::newRow("latitude sans unité") << int(kWGS84) << "48.5" << "2°" << "1" << kMessageLatitude;
    QTest::newRow("longitude à virgule") << int(kWGS84) << "48.5°" << "2,5°" << "1" << longitude;
    QTest::newRow("les deux fausses") << int(kNTF) << "x" << "y" << "1" << kMessageLatitude;
    QTest::newRow("easting à virgule") << int(kPlateCarree) << "231500,5" << "0" << "1" << easting;
    QTest::newRow("northing") << int(kPlateCarree) << "231500" << "abc" << "1" << northing;
    QTest::newRow("fuseau") << int(kFuseaux) << "0" << "0" << "douze" << zone;
  }
  void messagesDeConvertir() {
    QFETCH(int, source);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, fuseau);
    QFETCH(QString, message);
    TForm1& f = OuvreCatalogueEssai();
    f.ComboSource->setCurrentIndex(source);
    Tape(f.EditXSource, x);
    Tape(f.EditYSource, y);
    f.EditFuseauSource->setText(fuseau);
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QCOMPARE(banc_->Messages, QStringList{QStringLiteral("Vestrel | ") + message});
    if (source == kFuseaux) QCOMPARE(f.focusWidget(), f.EditFuseauSource);

    // The window stays usable.
    Tape(f.EditXSource, QStringLiteral("0"));
    Tape(f.EditYSource, QStringLiteral("0"));
    f.EditFuseauSource->setText(QStringLiteral("31"));
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QCOMPARE(banc_->Messages.size(), 1);
    QCOMPARE(f.EditAlteration->text(), QStringLiteral("1"));
  }

  void uniteInconnue() {
    TForm1& f = banc_->Ouvre();
    f.ItemsUnite->setExclusive(false);
    f.ItemsUnite->button(0)->setChecked(false);
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QCOMPARE(banc_->Messages, QStringList{QStringLiteral("Vestrel | Unité d'angle inconnue")});
  }

  void fuseauIgnorePourUneZone() {
    TForm1& f = OuvreCatalogueEssai();
    f.ComboSource->setCurrentIndex(kPlateCarree);
    f.ComboDestination->setCurrentIndex(kPlateCarree);
    f.EditFuseauSource->setText(QStringLiteral("abc"));
    Tape(f.EditXSource, QStringLiteral("231500.5"));
    Tape(f.EditYSource, QStringLiteral("-1000"));
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY(banc_->Messages.isEmpty());
    QCOMPARE(f.EditXDest->text(), QStringLiteral("231500.500"));
    QCOMPARE(f.EditYDest->text(), QStringLiteral("-1000.000"));
    QVERIFY(std::fabs(LitReel(f.EditAlteration->text().toStdString()) - 1) < 1e-9);
  }

  void destinationMultipleDonneSaZone() {
    TForm1& f = OuvreCatalogueEssai();
    f.ComboDestination->setCurrentIndex(kFuseaux);
    Tape(f.EditXSource, QStringLiteral("-33.5°"));
    Tape(f.EditYSource, QStringLiteral("-70.25°"));
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join('\n')));
    QCOMPARE(f.EditFuseauDest->text(), QStringLiteral("-19"));
    QCOMPARE(f.EditXDest->text(), QStringLiteral("-70250.000"));
  }

  // ---- Start-up and exit ----

  void sortieEnregistre() {
    banc_->EcritDonnees(kCatalogueEssai);
    TForm1& f = banc_->Ouvre();
    QCOMPARE(f.ComboSource->count(), 3);
    const QString chemin = QString::fromStdString(banc_->CheminDonnees());
    QVERIFY(QFile::remove(chemin));
    f.show();
    QTest::mouseClick(f.Button3, Qt::LeftButton);
    QVERIFY(!f.isVisible());
    banc_->Ferme();
    QVERIFY(banc_->Messages.isEmpty());
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::ReadOnly));
    const QByteArray contenu = fichier.readAll();
    QVERIFY(contenu.contains("Datum=\"NTF\""));
    QVERIFY(contenu.contains("\"Plate carr\xe9" "e\""));
  }

  void sansAutoSaveRienNeChargeNiNEnregistre() {
    banc_->EcritDonnees(kCatalogueEssai);
    banc_->Ini().AutoSave = false;
    TForm1& f = banc_->Ouvre();
    QCOMPARE(f.ComboSource->count(), 1);
    banc_->Ferme();
    QFile fichier(QString::fromStdString(banc_->CheminDonnees()));
    QVERIFY(fichier.open(QIODevice::ReadOnly));
    QCOMPARE(fichier.readAll(), QByteArray::fromStdString(Utf8VersWin1252(kCatalogueEssai)));
    QVERIFY(banc_->Messages.isEmpty());
  }

  void echecDEnregistrement() {
    // The settings folder lies below a regular file: nothing can be created
    // there, even by root.
    banc_ = std::make_unique<TBancFenetre>("bloque/config");
    QFile bloque(banc_->Racine() + QStringLiteral("/bloque"));
    QVERIFY(bloque.open(QIODevice::WriteOnly));
    bloque.close();
    TForm1& f = banc_->Ouvre();
    QVERIFY(banc_->Messages.isEmpty());
    f.show();
    QTest::mouseClick(f.Button3, Qt::LeftButton);
    banc_->Ferme();
    QCOMPARE(banc_->Messages,
             QStringList{QStringLiteral("Vestrel | Problème à l'enregistrement des données dans ") +
                         QString::fromStdString(banc_->CheminDonnees())});
  }

  void demarrageIncompletAvertitUneFois() {
    banc_->EcritDonnees(std::string(kCatalogueEssai) + "Inconnu=1 2 3\r\n" +
                        "Ellipsoide=\"Bessel\" \"Bessel 1841\" 6377397.155 0.0816968312225\r\n");
    TForm1& f = banc_->Ouvre();
    QCOMPARE(f.ComboSource->count(), 3);
    QCOMPARE(banc_->Messages.size(), 1);
    const QString& message = banc_->Messages.front();
    QVERIFY2(message.startsWith(QStringLiteral("Vestrel | ")), qPrintable(message));
    QVERIFY2(message.contains(QString::fromStdString(banc_->CheminDonnees())), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral(" 4 ")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("Donnée Inconnu de nature inconnue")), qPrintable(message));
    // The exit save keeps the original beside the rewritten file.
    banc_->Ferme();
    QCOMPARE(banc_->Messages.size(), 1);
    QVERIFY(QFileInfo::exists(QString::fromStdString(banc_->CheminDonnees() + ".bak")));
  }
};

QTEST_MAIN(TestFenetrePrincipale)
#include "fenetre_principale_test.moc"
