#include "catalogue/fichier_ini.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tools/chemins.h"

namespace vestrel {

namespace {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else ~/.config.
std::string DossierConfiguration() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : ".") + "/.config";
}

constexpr const char* kOui = "AutoSave = OUI";
constexpr const char* kNon = "AutoSave = NON";

}  // namespace

TFichierIni::TFichierIni(const std::string& programme) {
  std::string p = programme;
  for (char& c : p) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string base = DossierConfiguration();
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  Dossier = base + "/" + p + "/";
  std::error_code erreur;
  std::filesystem::create_directories(Dossier, erreur);
  NomFichier = Dossier + p + ".ini";
}

void TFichierIni::LitFichier() {
  std::string contenu;
  try {
    if (!FichierExiste(NomFichier)) return;
    contenu = vestrel::LitFichier(NomFichier);
  } catch (const std::exception&) {
    return;
  }
  std::istringstream lignes(contenu);
  std::string ligne;
  while (std::getline(lignes, ligne)) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    if (ligne.find("AutoSave") != std::string::npos) AutoSave = ligne == kOui;
  }
}

void TFichierIni::EcritFichier() const {
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
