#pragma once
// A unique temporary folder removed with its content at the end of a test,
// and small file helpers.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vestrel::essai {

class TDossierTemporaire {
 public:
  TDossierTemporaire() {
    static std::atomic<int> compteur{0};
    chemin_ = std::filesystem::temp_directory_path() /
              ("vestrel-catalogue-" + std::to_string(getpid()) + "-" + std::to_string(compteur++));
    std::filesystem::remove_all(chemin_);
    std::filesystem::create_directories(chemin_);
  }
  ~TDossierTemporaire() {
    std::error_code erreur;
    std::filesystem::permissions(chemin_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, erreur);
    std::filesystem::remove_all(chemin_, erreur);
  }
  // Full path of a file of the folder (or the folder itself, ending with "/").
  std::string operator()(const std::string& nom = "") const { return (chemin_ / nom).string(); }

 private:
  std::filesystem::path chemin_;
};

inline void Ecrit(const std::string& chemin, const std::string& octets) {
  std::filesystem::create_directories(std::filesystem::path(chemin).parent_path());
  std::ofstream f(chemin, std::ios::binary);
  f << octets;
}

inline std::string Lit(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::ostringstream o;
  o << f.rdbuf();
  return o.str();
}

}  // namespace vestrel::essai
