#pragma once
// In `pilote`, the drivers of the real widgets and of the modal dialogs the
// tests go through, and the reader of the scenario tables in tests/ui/data.
// Then the bench: a main window on a catalogue of its own, with a temporary
// settings folder (XDG_CONFIG_HOME), an empty program folder (no
// "france.txt"), a data file written before the window is created, and the
// messages it shows collected instead of blocking dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "../commun/table.h"
#include "catalogue/fichier_ini.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "ui/fenetre_principale.h"
#include "ui/listing.h"

namespace vestrel {

namespace pilote {

// The dialogs an action is busy with (or that a test shows itself): they are
// not the next modal dialog.
inline QSet<QDialog*> occupes;

// Acts on the next modal dialog of type T from inside its event loop. The
// action gets the dialog once it is active and must close it; a dialog left
// open is rejected after a while so that nothing hangs. Nothing happens when
// no such dialog opens before this object goes out of scope.
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

// Answers a message box with the button of that caption, its text kept in
// `texte`.
inline std::function<void(QMessageBox*)> Reponse(const char* bouton, QString* texte = nullptr) {
  return [=](QMessageBox* m) {
    if (texte) *texte = m->text();
    for (QAbstractButton* b : m->buttons())
      if (b->text() == QString::fromUtf8(bouton)) return QTest::mouseClick(b, Qt::LeftButton);
    m->reject();
  };
}

// A check box is clicked on its box, which is not at the middle of a wide one.
inline void Clique(QWidget* bouton) {
  if (qobject_cast<QCheckBox*>(bouton))
    QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(6, bouton->height() / 2));
  else
    QTest::mouseClick(bouton, Qt::LeftButton);
}

// Clicks `bouton` and lets `action` handle the modal dialog of type T it
// opens; false when none opened.
template <class T = QDialog>
bool Dialogue(QWidget* bouton, std::type_identity_t<std::function<void(T*)>> action) {
  TModal<T> modal(std::move(action));
  Clique(bouton);
  return modal.Vu;
}

// Replaces the text of a field as the user types it (a long one as pasted)
// and, with `quitte`, leaves it with Tab.
inline void Saisit(QLineEdit* champ, const QString& texte, bool quitte = true) {
  champ->setFocus(Qt::TabFocusReason);
  champ->selectAll();
  QTest::keyClick(champ, Qt::Key_Delete);
  // QTest types printable ASCII only: other characters are inserted as the
  // keyboard would.
  if (texte.size() > 1000)
    champ->insert(texte);
  else
    for (const QChar c : texte)
      if (c >= u' ' && c < u'\x7f')
        QTest::keyClick(champ, c.toLatin1());
      else
        champ->insert(c);
  if (quitte) QTest::keyClick(champ, Qt::Key_Tab);
}

// Types a file name (relative to `dossier`) in a file chooser. `force`: the
// chooser's result is forced, for names it would refuse itself (a missing
// file or folder), to reach the window's own checks.
inline void Choisit(QDialog* dialogue, const QString& dossier, const QString& nom,
                    bool force = false) {
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

// Shows a window modeless and waits for it: not a dialog for the actions.
inline void Montre(QWidget* fenetre) {
  if (auto* d = qobject_cast<QDialog*>(fenetre)) occupes.insert(d);
  fenetre->show();
  QVERIFY(QTest::qWaitForWindowActive(fenetre));
}

// The rows of a table of tests/ui/data: cells separated by "|" and trimmed,
// "\t", "\r", "\n", "\s" for tab, CR, LF, space; "#" and empty lines skipped.
inline QList<QStringList> Table(const QString& nom) {
  QList<QStringList> lignes;
  for (const essai::TLigneTable& ligne : essai::LitTable("ui/data/" + nom.toStdString())) {
    QStringList cellules = QString::fromStdString(ligne.Texte).split(QLatin1Char('|'));
    for (QString& c : cellules)
      c = c.trimmed().replace(QStringLiteral("\\t"), QStringLiteral("\t"))
              .replace(QStringLiteral("\\r"), QStringLiteral("\r")).replace(QStringLiteral("\\n"), QStringLiteral("\n"))
              .replace(QStringLiteral("\\s"), QStringLiteral(" "));
    lignes << cellules;
  }
  return lignes;
}

}  // namespace pilote

// Records in the data file's own form (Windows-1252 on disk, CR LF). The
// choices of the main window: WGS84, NTF, ED 7p, Plate carrée, UTM 31, TM 3.
inline const char* const kCatalogueEssai =
    "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 IGN\" 6378249.2 0.0824832567634\r\n"
    "Ellipsoide=\"Sphère\" \"Sphère de rayon 6370997\" 6370997 0\r\n"
    "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n"
    "Datum=\"ED 7p\" \"Sept paramètres\" \"GRS 80\" -84 -97 -117 0.123456789 -0.2 0.3 1.5\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"Plate carrée\" \"Carte du monde\" \"NTF\"\r\n"
    "Projection \"UTM Fuseau\"=\"UTM 31\" \"\" \"WGS84\" 31 0\r\n"
    "Multiple \"Transverse Mercator Multiple\"=\"TM 3\" \"Fuseaux de 6°\" \"WGS84\" 0.9999 500000 0 "
    "10000000 -177° 6°\r\n";

class TBancFenetre {
 public:
  // XDG_CONFIG_HOME is "config" in the temporary folder (a caller may make it
  // a regular file before the window exists).
  TBancFenetre() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(racine_.filePath(QStringLiteral("config"))));
    QDir(racine_.path()).mkpath(QStringLiteral("programme"));
    DefinitDossierProgramme(racine_.filePath(QStringLiteral("programme")).toStdString() + "/");
  }
  ~TBancFenetre() {
    pilote::occupes.clear();
    Fenetre.reset();
    DefinitDossierProgramme("");
  }

  QString Racine() const { return racine_.path(); }

  // The settings object, created on first use (after the environment is set).
  TFichierIni& Ini() {
    if (!ini_) ini_.emplace("vestrel");
    return *ini_;
  }
  std::string CheminDonnees() { return Ini().Dossier + "donnees.txt"; }
  void EcritDonnees(const std::string& utf8) {
    QDir().mkpath(QString::fromStdString(Ini().Dossier));
    EcritFichierSur(CheminDonnees(), Utf8VersWin1252(utf8));
  }

  TForm1::TAfficheur Afficheur() {
    return [this](const QString& titre, const QString& texte) { Messages.append(titre + " | " + texte); };
  }
  // The main window, on that data file when one is given.
  TForm1& Ouvre(const char* donnees = nullptr) {
    if (donnees) EcritDonnees(donnees);
    Fenetre = std::make_unique<TForm1>(Ini(), Afficheur());
    return *Fenetre;
  }
  // The parameters window of the open main window (shown by the caller).
  TDlgParametre* Parametres() {
    return new TDlgParametre(Fenetre->Donnees, Ini(), Afficheur(), Fenetre.get());
  }
  void Ferme() { Fenetre.reset(); }

  std::unique_ptr<TForm1> Fenetre;
  QStringList Messages;  // "title | text"

 private:
  QTemporaryDir racine_;
  std::optional<TFichierIni> ini_;
};

}  // namespace vestrel
