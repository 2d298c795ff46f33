// The parameters window and its editors on the offscreen platform: the modal
// dialogs are driven from inside their own event loops, real files in a
// temporary folder.
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

#include "banc_fenetre.h"
#include "catalogue/donnee.h"
#include "systems/createur.h"
#include "tools/nombres.h"
#include "ui/listing.h"

using namespace vestrel;
using namespace vestrel::pilote;

namespace {

// The parameter rows of the coordinate-system editor.
QTableWidgetItem* Cellule(TDlgProjection* d, const QString& parametre) {
  const auto trouves = d->GridParametre->findItems(parametre, Qt::MatchExactly);
  return trouves.isEmpty() ? nullptr : d->GridParametre->item(trouves.front()->row(), 1);
}
void EcritCellule(TDlgProjection* d, const QString& parametre, const QString& texte) {
  QTableWidgetItem* cellule = Cellule(d, parametre);
  QVERIFY2(cellule, qPrintable(parametre));
  cellule->setText(texte);
}

void ChoisitNature(TDlgProjection* d, const QString& nature) {
  const int i = d->ComboNature->findText(nature);
  QVERIFY(i >= 0);
  d->ComboNature->setCurrentIndex(i);
  emit d->ComboNature->activated(i);
}

const QString kPrefixe = QStringLiteral("Vestrel | ");
const QString kDeja = QStringLiteral("Nom déjà utilisé");
const QString kFichier = QStringLiteral(
    " ne peut contenir ni guillemet (\"), ni caractère de contrôle, ni caractère que le "
    "fichier de données (Windows-1252) ne sait pas écrire");

}  // namespace

class TestParametres : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBancFenetre> banc_;
  TForm1* f_ = nullptr;
  TDlgParametre* p_ = nullptr;

  // The main window on that data file, and its parameters window shown.
  TDlgParametre& Ouvre(const char* donnees = kCatalogueEssai, bool montre = true) {
    banc_->EcritDonnees(donnees);
    f_ = &banc_->Ouvre();
    auto afficheur = [this](const QString& titre, const QString& texte) {
      banc_->Messages.append(titre + QStringLiteral(" | ") + texte);
    };
    p_ = new TDlgParametre(f_->Donnees, banc_->Ini(), afficheur, f_);
    f_->MontreParametres = [this] { p_->exec(); };
    if (montre) Montre();
    return *p_;
  }
  void Montre() {
    occupes.insert(p_);  // shown modal: not a dialog for the actions
    p_->show();
    QVERIFY(QTest::qWaitForWindowActive(p_));
  }
  QPushButton* Bouton(const QString& nom) { return p_->findChild<QPushButton*>(nom); }
  QListWidget* Liste(const QString& nom) { return p_->findChild<QListWidget*>(nom); }
  TDonnees& Donnees() { return *f_->Donnees; }
  std::string Catalogue() {
    std::string texte;
    Donnees().SauveFlux(texte);
    return texte;
  }
  QString DernierMessage() const {
    return banc_->Messages.isEmpty() ? QString() : banc_->Messages.last().mid(kPrefixe.size());
  }
  // "Ouvrir ...": the file chosen, then `action` on the import dialog; the
  // lines it showed checked.
  QStringList Importe(const QString& fichier, const std::function<void(TDlgImportation*)>& action) {
    TModal<QFileDialog> fichiers([&](QDialog* d) { Choisit(d, banc_->Racine(), fichier); });
    QStringList lignes;
    Dialogue<TDlgImportation>(p_->ButtonOuvrir, [&](TDlgImportation* i) {
      for (int k = 0; k < i->CheckListBoxImport->count(); ++k)
        if (i->CheckListBoxImport->item(k)->checkState() == Qt::Checked)
          lignes << i->CheckListBoxImport->item(k)->text();
      action(i);
    });
    return lignes;
  }

 private slots:
  void init() { banc_ = std::make_unique<TBancFenetre>(); }
  void cleanup() {
    occupes.clear();
    banc_.reset();
  }

  void controles() {
    TDlgParametre& p = Ouvre();
    QCOMPARE(p.windowTitle(), QStringLiteral("Paramètres"));
    QStringList onglets;
    for (int i = 0; i < p.PageControl->count(); ++i) onglets << p.PageControl->tabText(i);
    QCOMPARE(onglets, (QStringList{"Ellipsoïdes", "Datums", "Projections simples", "Projections multiples"}));
    QCOMPARE(p.OKBtn->text(), QStringLiteral("Fermer"));
    // The lists in catalogue order, the built-ins first.
    QCOMPARE(p.ListEllips->count(), 3);
    QCOMPARE(p.ListEllips->item(0)->text(), QStringLiteral("GRS 80"));
    QCOMPARE(p.ListDatum->item(2)->text(), QStringLiteral("ED 7p"));
    QCOMPARE(p.ListSimple->item(1)->text(), QStringLiteral("UTM 31"));
    QCOMPARE(p.ListMultiple->item(0)->text(), QStringLiteral("TM 3"));
  }

  // Datum1 is a system, Datum2 an ellipsoid: a name met twice in the data
  // file would lose the record at the next load.
  void nomsProposes_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("nom");
    QTest::newRow("ellipsoïde") << "ButtonAjoutEllips" << "Ellipsoide2";
    QTest::newRow("datum") << "ButtonAjoutDatum" << "Datum3";
    QTest::newRow("simple") << "ButtonAjoutProjection" << "Projection3";
    QTest::newRow("multiple") << "ButtonAjoutMultiple" << "Projection3";
  }
  void nomsProposes() {
    QFETCH(QString, bouton);
    QFETCH(QString, nom);
    Ouvre("Ellipsoide=\"Ellipsoide1\" \"\" 6378249.2 0.08\r\n"
          "Ellipsoide=\"Ellipsoide3\" \"\" 6378249.2 0.08\r\n"
          "Ellipsoide=\"Datum2\" \"\" 6378249.2 0.08\r\n"
          "Datum=\"Projection1\" \"\" \"GRS 80\" 0 0 0\r\n"
          "Projection \"Projection Latitude/Longitude\"=\"Datum1\" \"\" \"WGS84\"\r\n"
          "Projection \"Projection Latitude/Longitude\"=\"Projection2\" \"\" \"WGS84\"\r\n");
    QString propose;
    QVERIFY(Dialogue(Bouton(bouton), [&](QDialog* d) {
      propose = d->findChild<QLineEdit*>(QStringLiteral("EditNom"))->text();
      d->reject();
    }));
    QCOMPARE(propose, nom);
  }

  // The built-ins cannot be changed, and nothing is edited or deleted
  // without a selection (on the system tabs too: "Modifier ..." there once
  // opened the editor on nothing).
  void refusSansEditeur_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("message");
    const auto ligne = [](const char* nom, const char* b, const char* l, const char* e, const char* m) {
      QTest::newRow(nom) << b << l << QString::fromUtf8(e) << QString::fromUtf8(m);
    };
    ligne("modifier GRS 80", "Button1", "ListEllips", "GRS 80",
          "Vous n'êtes pas autorisé à modifier l'ellipsoïde GRS 80");
    ligne("supprimer GRS 80", "Button2", "ListEllips", "GRS 80",
          "Vous n'êtes pas autorisé à supprimer l'ellipsoïde GRS 80");
    ligne("modifier WGS84", "Button4", "ListDatum", "WGS84", "Vous n'êtes pas autorisé à modifier le datum WGS84");
    ligne("supprimer WGS84", "Button5", "ListDatum", "WGS84",
          "Vous n'êtes pas autorisé à supprimer le datum WGS84");
    ligne("modifier ellipsoïde", "Button1", "ListEllips", "", "Veuillez sélectionner l'ellipsoïde à modifier");
    ligne("supprimer ellipsoïde", "Button2", "ListEllips", "",
          "Veuillez sélectionner l'ellipsoïde avant de le supprimer");
    ligne("modifier datum", "Button4", "ListDatum", "", "Veuillez sélectionner le datum à modifier");
    ligne("supprimer datum", "Button5", "ListDatum", "", "Veuillez sélectionner le datum avant de le supprimer");
    ligne("modifier simple", "Button7", "ListSimple", "", "Veuillez sélectionner la projection à modifier");
    ligne("modifier multiple", "Button10", "ListMultiple", "", "Veuillez sélectionner la projection à modifier");
    ligne("supprimer simple", "Button8", "ListSimple", "",
          "Veuillez sélectionner la projection avant de la supprimer");
  }
  void refusSansEditeur() {
    QFETCH(QString, bouton);
    QFETCH(QString, liste);
    QFETCH(QString, entree);
    QFETCH(QString, message);
    Ouvre();
    Liste(liste)->setFocus();  // the current entry the focus gives is no selection
    if (!entree.isEmpty()) Selectionne(Liste(liste), entree);
    const std::string avant = Catalogue();
    QVERIFY(!Dialogue(Bouton(bouton), [](QDialog* d) { d->reject(); }));
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
    if (!liste.isEmpty()) Selectionne(Liste(liste), entree);
    const std::string avant = Catalogue();
    QVERIFY(Dialogue(Bouton(bouton), [](QDialog* d) {
      // Fields left with new values write into the working copy only.
      const std::pair<const char*, const char*> champs[] = {
          {"EditNom", "Autre nom"}, {"EditDescription", "Autre"}, {"EditA", "6000000"}, {"EditDeltaX", "12"}};
      for (auto [champ, texte] : champs)
        if (auto* e = d->findChild<QLineEdit*>(QString::fromLatin1(champ))) Saisit(e, QString::fromLatin1(texte));
      if (auto* c = d->findChild<QCheckBox*>(QStringLiteral("CheckSept"))) Clique(c);
      Clique(d->findChild<QPushButton*>(QStringLiteral("CancelBtn")));
    }));
    QCOMPARE(Catalogue(), avant);
    QVERIFY(banc_->Messages.isEmpty());
  }

  void ellipsoideChampsLies() {
    Ouvre();
    TDlgEllipsoide* d = p_->DlgEllipsoide;
    QStringList vu;
    QVERIFY(Dialogue(p_->ButtonAjoutEllips, [&](QDialog*) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Paramètres de l'ellipsoïde"));
      vu << d->EditA->text() << d->EditF->text();
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
    }));
    // b = a (1 - f), e = sqrt(1 - (b/a)^2), 1/f = a / (a - b)
    QCOMPARE(vu, (QStringList{"6371000", "287", "6356752.31", "0.081819191", "6350003.34", "0.081819191",
                              "298.257222101", "0.081819191", "0.081819191", "0.0818255731", "298.21062"}));
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + "Valeur de e incorrecte, exemple 0.0823554"});
    const TEllipsoide& nouveau = *Donnees().Ellipsoides.back();
    QCOMPARE(nouveau.Nom, std::string("IAG 1980"));
    QCOMPARE(nouveau.A, 6371365.32);
    QVERIFY(std::fabs(nouveau.GetB() - 6350000) < 1e-6);
    QCOMPARE(p_->ListEllips->count(), 4);
  }

  // A sphere is shown with 1/f = 0 and stays a sphere (its inverse
  // flattening once divided by zero); 1/f = 0 makes one.
  void ellipsoideSphere() {
    Ouvre();
    TDlgEllipsoide* d = p_->DlgEllipsoide;
    QString f, b;
    Selectionne(p_->ListEllips, QStringLiteral("Sphère"));
    QVERIFY(Dialogue(p_->Button1, [&](QDialog*) {
      f = d->EditF->text();
      Saisit(d->EditA, QStringLiteral("6371000"));
      Clique(d->OKBtn);
    }));
    QCOMPARE(f, QStringLiteral("0"));
    const TEllipsoide& sphere = *Donnees().TrouveEllipsoide("Sphère");
    QCOMPARE(sphere.A, 6371000.0);
    QCOMPARE(sphere.E, 0.0);
    QVERIFY(banc_->Messages.isEmpty());

    Selectionne(p_->ListEllips, QStringLiteral("Clarke 1880 IGN"));
    QVERIFY(Dialogue(p_->Button1, [&](QDialog*) {
      // b beyond a gives no ellipsoid: refused like a bad text.
      Saisit(d->EditB, QStringLiteral("6400000"));
      Saisit(d->EditF, QStringLiteral("0"));
      b = d->EditB->text();
      QTest::keyClick(d->EditF, Qt::Key_Return);
    }));
    QCOMPARE(DernierMessage(), QStringLiteral("Valeur de b incorrecte, exemple 6371365.32"));
    QCOMPARE(b, QStringLiteral("6378249.2"));
    QCOMPARE(Donnees().TrouveEllipsoide("Clarke 1880 IGN")->E, 0.0);
  }

  // Names that are used anywhere in the catalogue, and names or descriptions
  // that the data file cannot hold (a double quote once lost the record at
  // the next start), are refused when the field is left, and by Enter: the
  // previous text comes back and the record is as it was (NTF keeps its "*",
  // which the copy once lost). Accepted texts replace the record at its place.
  void textesRefuses_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message");  // empty: accepted
    const auto ligne = [](const char* nom, const char* b, const char* l, const char* e, const char* champ,
                          const char* texte, const QString& message) {
      QTest::newRow(nom) << b << l << QString::fromUtf8(e) << champ << QString::fromUtf8(texte) << message;
    };
    const QString nom = QStringLiteral("Le nom") + kFichier;
    const QString description = QStringLiteral("La description") + kFichier;
    ligne("nom d'ellipsoïde", "Button1", "ListEllips", "Clarke 1880 IGN", "EditNom", "Sphère", kDeja);
    ligne("nom de datum", "Button1", "ListEllips", "Clarke 1880 IGN", "EditNom", "NTF", kDeja);
    ligne("ellipsoïde à guillemet", "Button1", "ListEllips", "Clarke 1880 IGN", "EditNom", "Clarke \"IGN\"", nom);
    ligne("description polonaise", "Button1", "ListEllips", "Clarke 1880 IGN", "EditDescription", "Łódź",
          description);
    ligne("description en Windows-1252", "Button1", "ListEllips", "Clarke 1880 IGN", "EditDescription",
          "Clarke 1880 — 50 €", {});
    ligne("nom de système", "Button4", "ListDatum", "NTF", "EditNom", "UTM 31", kDeja);
    ligne("datum à guillemet", "Button4", "ListDatum", "NTF", "EditDescription", "\"NTF\"", description);
    ligne("nom de datum pour un système", "Button7", "ListSimple", "UTM 31", "EditNom", "ED 7p", kDeja);
    ligne("nom de multiple", "Button7", "ListSimple", "UTM 31", "EditNom", "TM 3", kDeja);
    ligne("système à guillemet", "Button7", "ListSimple", "UTM 31", "EditNom", "UTM \"31\"", nom);
    ligne("système renommé", "Button7", "ListSimple", "UTM 31", "EditNom", "UTM 31 nord", {});
    ligne("multiple à tabulation", "Button10", "ListMultiple", "TM 3", "EditDescription", "6°\t3°", description);
  }
  void textesRefuses() {
    QFETCH(QString, bouton);
    QFETCH(QString, liste);
    QFETCH(QString, entree);
    QFETCH(QString, champ);
    QFETCH(QString, texte);
    QFETCH(QString, message);
    Ouvre();
    Selectionne(Liste(liste), entree);
    const int rang = Liste(liste)->currentRow();
    const std::string avant = Catalogue();
    QString ancien, laisse;
    bool resteOuvert = false;
    QVERIFY(Dialogue(Bouton(bouton), [&](QDialog* d) {
      auto* e = d->findChild<QLineEdit*>(champ);
      ancien = e->text();
      Saisit(e, texte);
      laisse = e->text();
      if (!message.isEmpty()) {
        QCOMPARE(QApplication::focusWidget(), e);
        Saisit(e, texte, false);
        QTest::keyClick(e, Qt::Key_Return);
        resteOuvert = d->isVisible();
      }
      QTest::keyClick(e, Qt::Key_Return);
    }));
    if (message.isEmpty()) {
      QCOMPARE(laisse, texte);
      QVERIFY(banc_->Messages.isEmpty());
      QVERIFY(Catalogue().find(texte.toStdString()) != std::string::npos);
      if (champ == QLatin1String("EditNom")) QCOMPARE(Liste(liste)->item(rang)->text(), texte);
    } else {
      QCOMPARE(laisse, ancien);
      QVERIFY(resteOuvert);
      QCOMPARE(banc_->Messages, (QStringList{kPrefixe + message, kPrefixe + message}));
      QCOMPARE(Catalogue(), avant);
    }
  }

  void datumSeptParametres() {
    Ouvre();
    TDlgDatum* d = p_->DlgDatum;
    Selectionne(p_->ListDatum, QStringLiteral("ED 7p"));
    QStringList vu;
    bool actifs = false, inactifs = true, troisApres = false;
    QVERIFY(Dialogue(p_->Button4, [&](QDialog*) {
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
    }));
    // Shown with six digits, kept whole while the text is not changed.
    QCOMPARE(vu, (QStringList{"0.123457", "1.5", "GRS 80", "0.123456789", "-97"}));
    QVERIFY(actifs && !inactifs && troisApres);
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
    QVERIFY(Dialogue(p_->Button4, [&](QDialog*) {
      Clique(d->CheckSept);
      Clique(d->OKBtn);
    }));
    QVERIFY(Catalogue().find("Datum=\"ED 7p\" \"Sept paramètres\" \"Sphère\" -87 -97 -117\r\n") !=
            std::string::npos);
  }

  // Every nature lists its parameters by name in the flattened order.
  void grilleParNature() {
    Ouvre();
    TDlgProjection* d = p_->DlgProjection;
    QStringList fautes;
    int natures = 0;
    QVERIFY(Dialogue(p_->ButtonAjoutProjection, [&](QDialog*) {
      for (; natures < d->ComboNature->count(); ++natures) {
        const QString nature = d->ComboNature->itemText(natures);
        ChoisitNature(d, nature);
        const int n = NombreParametres(nature.toStdString());
        if (d->GridParametre->isVisibleTo(d) != (n != 0) || d->GridParametre->rowCount() != n ||
            d->Label5->text() != (n ? QStringLiteral("&Propriétés") : QStringLiteral("Aucun paramètre")))
          fautes << nature;
        for (int j = 0; j < n; ++j)
          if (d->GridParametre->item(j, 0)->text().toStdString() != NomParametre(nature.toStdString(), j))
            fautes << nature + QString::number(j);
      }
      d->reject();
    }));
    QCOMPARE(natures, int(TypesProjection().size()));
    QVERIFY2(fautes.isEmpty(), qPrintable(fautes.join(", ")));
    QCOMPARE(d->GridParametre->horizontalHeaderItem(0)->text(), QStringLiteral("Nom"));
    QCOMPARE(d->GridParametre->horizontalHeaderItem(1)->text(), QStringLiteral("Valeur"));
  }

  // One cell of a new system's grid per row: a refused text keeps the editor
  // open on its row with the message of its kind of parameter and builds
  // nothing; an accepted one is read back by the editor.
  void grille_data() {
    QTest::addColumn<QString>("nature");
    QTest::addColumn<QString>("parametre");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<QString>("relu");
    const QString polaire = QStringLiteral("Stéréographique Polaire"), utm = QStringLiteral("UTM Fuseau");
    const QString booleen = QStringLiteral("Le paramètre Sud ne peut que OUI ou NON");
    QTest::newRow("réel à virgule") << polaire << "k0" << "0,994"
                                    << "Le paramètre k0 n'est pas correcte, exemple 6371235.36" << "";
    QTest::newRow("entier à décimale") << utm << "Fuseau" << "32.5"
                                       << "Le paramètre Fuseau doit être entier, exemple 7" << "";
    QTest::newRow("angle en lettres") << polaire << "Landa0" << "douze"
                                      << "Le paramètre Landa0 doit être un angle, exemple 2°15'03.235''" << "";
    QTest::newRow("vrai") << polaire << "Sud" << "vrai" << booleen << "";
    QTest::newRow("Faux") << utm << "Sud" << "Faux" << booleen << "";
    QTest::newRow("réel") << polaire << "k0" << "0.994" << "" << "0.994";
    QTest::newRow("entier") << utm << "Fuseau" << "32" << "" << "32";
    QTest::newRow("grades") << polaire << "Landa0" << "52g" << "" << "52g";
    for (const char* oui : {"oui", "1", "true", "OUI"}) QTest::newRow(oui) << utm << "Sud" << oui << "" << "OUI";
    for (const char* non : {"non", "0", "false"}) QTest::newRow(non) << polaire << "Sud" << non << "" << "NON";
  }
  void grille() {
    QFETCH(QString, nature);
    QFETCH(QString, parametre);
    QFETCH(QString, texte);
    QFETCH(QString, message);
    QFETCH(QString, relu);
    Ouvre();
    TDlgProjection* d = p_->DlgProjection;
    const std::string avant = Catalogue();
    QString ligneFaute;
    bool resteOuvert = false;
    QVERIFY(Dialogue(p_->ButtonAjoutProjection, [&](QDialog*) {
      ChoisitNature(d, nature);
      Saisit(d->EditNom, QStringLiteral("Essai"));
      if (Cellule(d, QStringLiteral("Landa0"))) EcritCellule(d, QStringLiteral("Landa0"), QStringLiteral("0°"));
      EcritCellule(d, parametre, texte);
      Clique(d->OKBtn);
      resteOuvert = d->isVisible();
      if (!resteOuvert) return;
      ligneFaute = d->GridParametre->item(d->GridParametre->currentRow(), 0)->text();
      QVERIFY(d->GridParametre->hasFocus() || d->GridParametre->isAncestorOf(QApplication::focusWidget()));
      d->reject();
    }));
    if (!message.isEmpty()) {
      QVERIFY(resteOuvert);
      QCOMPARE(ligneFaute, parametre);
      QCOMPARE(banc_->Messages, QStringList{kPrefixe + message});
      QCOMPARE(Catalogue(), avant);
      return;
    }
    QVERIFY(!resteOuvert);
    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join('\n')));
    QCOMPARE(Donnees().Projections.back()->Nom, std::string("Essai"));
    QVERIFY(Donnees().Projections.back()->Valide);
    Selectionne(p_->ListSimple, QStringLiteral("Essai"));
    QString lu;
    QVERIFY(Dialogue(p_->Button7, [&](QDialog*) {
      const QTableWidgetItem* cellule = Cellule(d, parametre);
      lu = cellule ? cellule->text() : QString();
      d->reject();
    }));
    QCOMPARE(lu, relu);
  }

  void suppressions_data() {
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("supprime");
    const auto ligne = [](const char* nom, const char* l, const char* e, const char* b, bool ok,
                          const char* question, const char* message, bool supprime) {
      QTest::newRow(nom) << l << QString::fromUtf8(e) << b << ok
                         << QStringLiteral("Etes-vous sûr de vouloir supprimer ") + QString::fromUtf8(question)
                         << QString::fromUtf8(message) << supprime;
    };
    ligne("ellipsoïde utilisé", "ListEllips", "Clarke 1880 IGN", "Button2", true, "l'ellipsoïde Clarke 1880 IGN",
          "Impossible de supprimer cet ellipsoïde qui est utilisé par certains datums", false);
    ligne("datum utilisé", "ListDatum", "NTF", "Button5", true, "le datum NTF",
          "Impossible de supprimer ce datum qui est utilisé par certaines projections.", false);
    ligne("ellipsoïde, annuler", "ListEllips", "Sphère", "Button2", false, "l'ellipsoïde Sphère", "", false);
    ligne("multiple, annuler", "ListMultiple", "TM 3", "Button11", false, "la projection TM 3", "", false);
    ligne("ellipsoïde", "ListEllips", "Sphère", "Button2", true, "l'ellipsoïde Sphère", "", true);
    ligne("datum", "ListDatum", "ED 7p", "Button5", true, "le datum ED 7p", "", true);
    ligne("système", "ListSimple", "Plate carrée", "Button8", true, "la projection Plate carrée", "", true);
    ligne("multiple", "ListMultiple", "TM 3", "Button11", true, "la projection TM 3", "", true);
  }
  void suppressions() {
    QFETCH(QString, liste);
    QFETCH(QString, entree);
    QFETCH(QString, bouton);
    QFETCH(bool, ok);
    QFETCH(QString, question);
    QFETCH(QString, message);
    QFETCH(bool, supprime);
    Ouvre();
    Selectionne(Liste(liste), entree);
    const std::string avant = Catalogue();
    QString pose;
    QVERIFY(Dialogue<QMessageBox>(Bouton(bouton), [&](QMessageBox* m) {
      pose = m->text();
      Clique(m->button(ok ? QMessageBox::Ok : QMessageBox::Cancel));
    }));
    QCOMPARE(pose, question);
    QCOMPARE(banc_->Messages, message.isEmpty() ? QStringList() : QStringList{kPrefixe + message});
    QCOMPARE(Liste(liste)->findItems(entree, Qt::MatchExactly).isEmpty(), supprime);
    if (supprime)
      QVERIFY(Catalogue().find('"' + entree.toStdString() + '"') == std::string::npos);
    else
      QCOMPARE(Catalogue(), avant);
  }

  // Chosen lines, then the whole file.
  void importation() {
    Ouvre("");
    auto ecrit = [&](const char* nom, const char* octets) {
      QFile f(banc_->Racine() + QLatin1Char('/') + QLatin1String(nom));
      if (f.open(QIODevice::WriteOnly)) f.write(octets);
      return QString::fromLatin1(nom);
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
    // Chosen lines: none checked imports nothing.
    bool actifs = true;
    const QStringList lignes = Importe(choix, [&](TDlgImportation* i) {
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
    // A failing line does not stop the others; the user learns which failed
    // (the keyword of the line that begins with a blank is not "Datum").
    Importe(choix, [&](TDlgImportation* i) {
      Clique(i->CheckTout);
      i->CheckListBoxImport->item(0)->setCheckState(Qt::Unchecked);  // Clarke 1866
      QTest::keyClick(i->OKBtn, Qt::Key_Return);
    });
    QCOMPARE(Catalogue(), std::string());
    const QStringList refus = DernierMessage().split(QLatin1Char('\n'));
    QCOMPARE(refus.size(), 4);
    QCOMPARE(refus[0], QStringLiteral("Lignes non importées :"));
    QVERIFY(refus[1].startsWith(QStringLiteral("Datum=\"Perdu\"")));
    QVERIFY(refus[2].startsWith(QStringLiteral(" Datum=\"Blanc\"")));
    QVERIFY(refus[3].startsWith(QStringLiteral("Datum=\"NAD27\"")));

    // The whole file stops at the first failing record; the records before
    // it stay, and the user is told where.
    Importe(tout, [&](TDlgImportation* i) { Clique(i->OKBtn); });
    QVERIFY(Donnees().TrouveEllipsoide("Clarke 1866") && !Donnees().TrouveDatum("NAD27"));
    QVERIFY(DernierMessage().startsWith(QStringLiteral("Le fichier ") + banc_->Racine() + "/" + tout +
                                        QStringLiteral(" n'a été importé que jusqu'à sa ligne 2 :")));
    QCOMPARE(p_->ListEllips->count(), 2);
    // Then the chosen NAD27 line finds its ellipsoid.
    Importe(choix, [&](TDlgImportation* i) {
      Clique(i->CheckTout);
      Clique(i->ButtonAucun);
      i->CheckListBoxImport->item(3)->setCheckState(Qt::Checked);
      Clique(i->OKBtn);
    });
    QCOMPARE(Donnees().TrouveDatum("NAD27")->Description, std::string("Amérique"));

    // Comments only: an empty list. Cancel imports nothing.
    const QString commentaires = ecrit("commentaires.txt", "'Ellipsoide=\"X\" \"\" 6378206.4 0.08\r\n\r\n'\r\n");
    const std::string avant = Catalogue();
    QCOMPARE(Importe(commentaires, [](TDlgImportation* i) { Clique(i->CancelBtn); }).size(), 0);
    QCOMPARE(Catalogue(), avant);
  }

  void importationIllisible() {
    Ouvre("");
    QVERIFY(Dialogue<QFileDialog>(p_->ButtonOuvrir, [&](QFileDialog* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Ouvrir"));
      Choisit(d, banc_->Racine(), QStringLiteral("absent.txt"), true);
    }));
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + "Problème de lecture du fichier " + banc_->Racine() +
                                          "/absent.txt"});
  }

  void enregistrerEtReinitialiser() {
    Ouvre();
    QVERIFY(Dialogue<QFileDialog>(p_->ButtonEnregistrer, [&](QFileDialog* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Enregistrer sous"));
      Choisit(d, banc_->Racine(), QStringLiteral("copie.txt"));
    }));
    QFile copie(banc_->Racine() + QStringLiteral("/copie.txt"));
    QVERIFY(copie.open(QIODevice::ReadOnly));
    QCOMPARE(Win1252VersUtf8(copie.readAll().toStdString()), Catalogue());
    // A folder that does not exist.
    QVERIFY(Dialogue<QFileDialog>(p_->ButtonEnregistrer, [&](QFileDialog* d) {
      Choisit(d, banc_->Racine(), QStringLiteral("nulle/part.txt"), true);
    }));
    QCOMPARE(banc_->Messages, QStringList{kPrefixe + "Problème à l'enregistrement des données dans " +
                                          banc_->Racine() + "/nulle/part.txt"});

    // Back to the built-ins; the data file is left for the exit save.
    const std::string fichierOriginal = LitFichier(banc_->CheminDonnees());
    Clique(p_->ButtonRAZ);
    QCOMPARE(Catalogue(), std::string());
    for (QListWidget* liste : {p_->ListEllips, p_->ListDatum, p_->ListSimple, p_->ListMultiple})
      QCOMPARE(liste->count(), liste == p_->ListEllips || liste == p_->ListDatum ? 1 : 0);
    QCOMPARE(LitFichier(banc_->CheminDonnees()), fichierOriginal);
  }

  void caseAutomatique() {
    Ouvre();
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
    Ouvre("", false);
    const auto convertit = [&](TForm1& f) {
      f.ComboSource->setCurrentIndex(0);
      f.ComboDestination->setCurrentIndex(2);
      f.EditXSource->setText(QStringLiteral("48.85°"));
      f.EditYSource->setText(QStringLiteral("2.35°"));
      Clique(f.Button2);
      return std::pair(LitReel(f.EditXDest->text().toStdString()), LitReel(f.EditYDest->text().toStdString()));
    };
    f_->show();
    QVERIFY(QTest::qWaitForWindowActive(f_));
    QVERIFY(Dialogue(f_->Button1, [&](QDialog*) {
      Dialogue(p_->ButtonAjoutEllips, [&](QDialog*) {
        TDlgEllipsoide* e = p_->DlgEllipsoide;
        Saisit(e->EditNom, QStringLiteral("Clarke 1880 IGN"));
        Saisit(e->EditA, QStringLiteral("6378249.2"));
        Saisit(e->EditF, QStringLiteral("293.466021294"));
        Clique(e->OKBtn);
      });
      Dialogue(p_->ButtonAjoutDatum, [&](QDialog*) {
        TDlgDatum* d = p_->DlgDatum;
        Saisit(d->EditNom, QStringLiteral("NTF essai"));
        d->ComboEllipsoide->setFocus();
        QTest::keyClick(d->ComboEllipsoide, Qt::Key_Down);
        Saisit(d->EditDeltaX, QStringLiteral("-168"));
        Saisit(d->EditDeltaY, QStringLiteral("-60"));
        Saisit(d->EditDeltaZ, QStringLiteral("320"));
        Clique(d->OKBtn);
      });
      Dialogue(p_->ButtonAjoutProjection, [&](QDialog*) {
        TDlgProjection* s = p_->DlgProjection;
        Saisit(s->EditNom, QStringLiteral("Lambert II étendu"));
        Saisit(s->EditDescription, QStringLiteral("Lambert zone II, France entière"));
        ChoisitNature(s, QStringLiteral("Lambert Conique Sécant"));
        s->ComboDatum->setCurrentIndex(1);
        EcritCellule(s, "X0", QStringLiteral("600000"));
        EcritCellule(s, "Y0", QStringLiteral("2200000"));
        EcritCellule(s, "Landa0", QStringLiteral("2°20'14.025''"));
        EcritCellule(s, "Phi0", QStringLiteral("52g"));
        EcritCellule(s, "Phi1", QStringLiteral("45.898918964419°"));
        EcritCellule(s, "Phi2", QStringLiteral("47.696014502038°"));
        Clique(s->OKBtn);
      });
      Clique(p_->OKBtn);
    }));
    QVERIFY2(banc_->Messages.isEmpty(), qPrintable(banc_->Messages.join("\n")));
    QCOMPARE(f_->ComboDestination->count(), 3);
    // echo "2.35 48.85" | cs2cs +proj=longlat +datum=WGS84 +to +proj=lcc
    //   +lat_1=45.898918964419 +lat_2=47.696014502038 +lat_0=46.8 +lon_0=2.337229166667
    //   +x_0=600000 +y_0=2200000 +a=6378249.2 +rf=293.466021294 +towgs84=-168,-60,320 -f %.4f
    //   → 600990.8924 2427961.5117
    const auto [x, y] = convertit(*f_);
    QVERIFY2(std::fabs(x - 600990.8924) < 0.002 && std::fabs(y - 2427961.5117) < 0.002,
             qPrintable(f_->EditXDest->text() + " " + f_->EditYDest->text()));
    const std::string avant = Catalogue();

    Clique(f_->Button3);  // "Quitter": the window closes; the catalogue is saved
    banc_->Ferme();
    TForm1& f = banc_->Ouvre();
    QCOMPARE(f.ComboDestination->itemText(2), QStringLiteral("Lambert II étendu"));
    std::string apres;
    f.Donnees->SauveFlux(apres);
    QCOMPARE(apres, avant);
    QCOMPARE(convertit(f), std::pair(x, y));
    QVERIFY(banc_->Messages.isEmpty());
  }
};

QTEST_MAIN(TestParametres)
#include "parametres_test.moc"
