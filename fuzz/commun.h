#pragma once
// What the fuzz targets share: the input as text, a check that stops the run
// with a message when a property fails, and a private temporary folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace vestrel::fuzz {

inline std::string_view Texte(const uint8_t* octets, size_t taille) {
  return {reinterpret_cast<const char*>(octets), taille};
}

// A property of the program that does not hold: libFuzzer keeps the input.
[[noreturn]] inline void Echec(const std::string& message) {
  std::fprintf(stderr, "Propriété non tenue : %s\n", message.c_str());
  std::fflush(stderr);
  std::abort();
}
inline void Exige(bool condition, const std::string& message) {
  if (!condition) Echec(message);
}

// A folder of this process only, removed at exit.
inline const std::filesystem::path& Dossier() {
  static const std::filesystem::path dossier = [] {
    std::filesystem::path racine = "/dev/shm";
    if (!std::filesystem::is_directory(racine)) racine = std::filesystem::temp_directory_path();
    auto d = racine / ("vestrel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Dossier(), ec);
    });
    return d;
  }();
  return dossier;
}

// Writes the bytes to a file of that name in the private folder.
inline std::string Fichier(const std::string& nom, std::string_view octets) {
  const std::string chemin = (Dossier() / nom).string();
  std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
  f.write(octets.data(), static_cast<std::streamsize>(octets.size()));
  f.close();
  if (!f) Echec("écriture impossible de " + chemin);
  return chemin;
}

}  // namespace vestrel::fuzz
