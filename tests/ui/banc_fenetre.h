#pragma once
// A main window on a catalogue of its own: a temporary settings folder
// (XDG_CONFIG_HOME), an empty program folder (no "france.txt"), a data file
// written before the window is created, and the messages it shows collected
// instead of blocking dialogs.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/fichier_ini.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "ui/fenetre_principale.h"

namespace vestrel {

// Records in the data file's own form (Windows-1252 on disk, CR LF).
inline const char* const kCatalogueEssai =
    "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 IGN\" 6378249.2 0.0824832567634\r\n"
    "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"Plate carrée\" \"Carte du monde\" "
    "\"WGS84\"\r\n";

class TBancFenetre {
 public:
  // `dossierConfig`: XDG_CONFIG_HOME below the temporary folder (it may be
  // made a regular file by the caller before the window exists).
  explicit TBancFenetre(const char* dossierConfig = "config") {
    const QString config = racine_.filePath(QString::fromLatin1(dossierConfig));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    QDir(racine_.path()).mkpath(QStringLiteral("programme"));
    DefinitDossierProgramme(racine_.filePath(QStringLiteral("programme")).toStdString() + "/");
  }
  ~TBancFenetre() {
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
    QFile fichier(QString::fromStdString(CheminDonnees()));
    const std::string octets = Utf8VersWin1252(utf8);
    if (fichier.open(QIODevice::WriteOnly))
      fichier.write(octets.data(), static_cast<qint64>(octets.size()));
  }

  TForm1& Ouvre() {
    Fenetre = std::make_unique<TForm1>(Ini(), [this](const QString& titre, const QString& texte) {
      Messages.append(titre + QStringLiteral(" | ") + texte);
    });
    return *Fenetre;
  }
  void Ferme() { Fenetre.reset(); }

  std::unique_ptr<TForm1> Fenetre;
  QStringList Messages;  // "title | text"

 private:
  QTemporaryDir racine_;
  std::optional<TFichierIni> ini_;
};

}  // namespace vestrel
