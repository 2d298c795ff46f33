#pragma once
// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test (even if a test took its write
// permission away), and small file helpers. Shared by the test folders.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>

#include "tools/chemins.h"

namespace vestrel::essai {

class TDossierTemporaire {
 public:
  TDossierTemporaire() {
    static std::atomic<int> compteur{0};
    chemin_ = std::filesystem::temp_directory_path() /
              ("vestrel-essai-" + std::to_string(getpid()) + "-" + std::to_string(++compteur));
    std::filesystem::remove_all(chemin_);
    std::filesystem::create_directories(chemin_);
  }
  ~TDossierTemporaire() {
    std::error_code erreur;
    std::filesystem::permissions(chemin_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, erreur);
    std::filesystem::remove_all(chemin_, erreur);
  }
  TDossierTemporaire(const TDossierTemporaire&) = delete;
  TDossierTemporaire& operator=(const TDossierTemporaire&) = delete;

  // Full path of a file of the folder (or the folder itself, ending with "/").
  std::string operator()(const std::string& nom = "") const { return (chemin_ / nom).string(); }
  // Writes the bytes to a file of the folder and returns its full path.
  std::string Ecrit(const std::string& nom, std::string_view octets) const {
    const std::string chemin = (*this)(nom);
    EcritFichierSur(chemin, octets);
    return chemin;
  }

 private:
  std::filesystem::path chemin_;
};

// Writes the bytes at that path, creating the folders on the way.
inline void Ecrit(const std::string& chemin, std::string_view octets) {
  std::filesystem::create_directories(std::filesystem::path(chemin).parent_path());
  EcritFichierSur(chemin, octets);
}

inline std::string Lit(const std::string& chemin) { return LitFichier(chemin); }

}  // namespace vestrel::essai
