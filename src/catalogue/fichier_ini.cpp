#include "catalogue/fichier_ini.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "tools/chemins.h"

namespace vestrel {

namespace {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else .config in the home folder ($HOME, or the user database's).
// Empty when no home is known: never a folder relative to wherever the
// program was started.
std::string DossierConfiguration() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (!(home && home[0] == '/')) {
    const passwd* utilisateur = ::getpwuid(::getuid());
    home = utilisateur ? utilisateur->pw_dir : nullptr;
  }
  if (home && home[0] == '/') return std::string(home) + "/.config";
  return {};
}

constexpr const char* kOui = "AutoSave = OUI";
constexpr const char* kNon = "AutoSave = NON";
// The file holds one short line; what lies past this is not read.
constexpr std::streamsize kTailleLue = 4096;

}  // namespace

TFichierIni::TFichierIni(const std::string& programme, bool creeDossier) {
  std::string p = programme;
  for (char& c : p) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string base = DossierConfiguration();
  if (base.empty()) {
    Probleme = "Aucun dossier personnel n'est connu pour y garder les réglages.";
    return;
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  Dossier = base + "/" + p + "/";
  NomFichier = Dossier + p + ".ini";
  struct stat etat;
  const bool existe = ::stat(Dossier.c_str(), &etat) == 0;
  if ((existe && !S_ISDIR(etat.st_mode)) || (!existe && errno != ENOENT)) {
    // A file where the folder or one of its parents should be.
    Probleme = "Le dossier des réglages " + Dossier + " n'est pas utilisable.";
  } else if (!existe && creeDossier) {
    std::error_code erreur;
    std::filesystem::create_directories(Dossier, erreur);
    if (!DossierExiste(Dossier)) Probleme = "Le dossier des réglages " + Dossier + " ne peut pas être créé.";
  }
  if (Probleme.empty() && creeDossier && ::access(Dossier.c_str(), W_OK | X_OK) != 0)
    Probleme = "Le dossier des réglages " + Dossier + " n'est pas accessible en écriture.";
}

void TFichierIni::LitFichier() {
  if (NomFichier.empty() || !FichierExiste(NomFichier)) return;
  std::ifstream f(NomFichier, std::ios::binary);
  std::string contenu(static_cast<size_t>(kTailleLue), '\0');
  f.read(contenu.data(), kTailleLue);
  contenu.resize(static_cast<size_t>(f.gcount()));
  std::string_view reste = contenu;
  if (f.gcount() == kTailleLue) reste = reste.substr(0, reste.find_last_of("\r\n") + 1);
  if (reste.starts_with("\xEF\xBB\xBF")) reste.remove_prefix(3);
  // Lines end with LF, CR LF or CR.
  while (!reste.empty()) {
    const size_t fin = std::min(reste.find_first_of("\r\n"), reste.size());
    const std::string_view ligne = reste.substr(0, fin);
    if (ligne.find("AutoSave") != std::string_view::npos) AutoSave = ligne == kOui;
    reste.remove_prefix(std::min(fin + 1, reste.size()));
  }
}

void TFichierIni::EcritFichier() const {
  if (NomFichier.empty()) return;
  try {
    EcritFichierSur(NomFichier, std::string(AutoSave ? kOui : kNon) + "\n");
  } catch (const std::exception&) {
    // The preference is not worth an error.
  }
}

void TFichierIni::SetAutoSave(bool valeur) {
  AutoSave = valeur;
  EcritFichier();
}

}  // namespace vestrel
