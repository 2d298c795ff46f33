#pragma once
// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test.
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "tools/chemins.h"

namespace vestrel::essai {

class TDossierTemporaire {
 public:
  TDossierTemporaire() {
    static int compteur = 0;
    chemin_ = std::filesystem::temp_directory_path() /
              ("vestrel-geodesie-" + std::to_string(getpid()) + "-" + std::to_string(++compteur));
    std::filesystem::create_directories(chemin_);
  }
  ~TDossierTemporaire() {
    std::error_code ec;
    std::filesystem::remove_all(chemin_, ec);
  }
  TDossierTemporaire(const TDossierTemporaire&) = delete;
  TDossierTemporaire& operator=(const TDossierTemporaire&) = delete;

  std::string Dossier() const { return chemin_.string() + "/"; }
  // Writes the bytes to a file of the folder and returns its full path.
  std::string Ecrit(const std::string& nom, std::string_view octets) const {
    const std::string chemin = Dossier() + nom;
    EcritFichierSur(chemin, octets);
    return chemin;
  }

 private:
  std::filesystem::path chemin_;
};

}  // namespace vestrel::essai
