// Loading and saving a catalogue of 10 000 records (100 ellipsoids, 900
// datums, 9 000 plain latitude/longitude systems) through a real file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "catalogue/donnee.h"
#include "../tests/commun/gros_fichiers.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "tools/nombres.h"

namespace {

using vestrel::TDonnees;

std::string Catalogue() {
  std::string texte;
  for (int i = 0; i < 100; ++i)
    texte += "Ellipsoide=\"Ellipsoïde " + std::to_string(i) + "\" \"Décrit\" " +
             vestrel::FormatG(6378000 + i * 1.25, 12) + " 0.0818191910428\r\n";
  for (int i = 0; i < 900; ++i)
    texte += "Datum=\"Datum " + std::to_string(i) + "\" \"Réseau géodésique\" \"Ellipsoïde " +
             std::to_string(i % 100) + "\" -168.5 -60.25 320" +
             (i % 2 ? " 0.1 0.2 -0.3 1.2345679" : "") + "\r\n";
  for (int i = 0; i < 9000; ++i)
    texte += "Projection \"Projection Latitude/Longitude\"=\"Plate " + std::to_string(i) +
             "° Est\" \"Plate carrée\" \"Datum " + std::to_string(i % 900) + "\"\r\n";
  return texte;
}

std::string Fichier() {
  static const std::string chemin = [] {
    const auto f = std::filesystem::temp_directory_path() /
                   ("vestrel-bench-" + std::to_string(getpid()) + ".txt");
    TDonnees d;
    vestrel::TFlux flux(Catalogue());
    d.ChargeFlux(flux);
    d.SauveFichier(f.string());
    return f.string();
  }();
  return chemin;
}

void BM_ChargeFichier(benchmark::State& state) {
  const std::string chemin = Fichier();
  for (auto _ : state) {
    TDonnees d;
    d.ChargeFichier(chemin);
    benchmark::DoNotOptimize(d.Projections.size());
  }
}
BENCHMARK(BM_ChargeFichier)->Unit(benchmark::kMillisecond);

void BM_SauveFichier(benchmark::State& state) {
  const std::string chemin = Fichier();
  TDonnees d;
  d.ChargeFichier(chemin);
  const std::string sortie = chemin + ".sortie";
  for (auto _ : state) d.SauveFichier(sortie);
  std::filesystem::remove(sortie);
}
BENCHMARK(BM_SauveFichier)->Unit(benchmark::kMillisecond);


// A catalogue of 100 000 records, and 5 MB of bytes that are no data file.
// The start-up loads either; both must take well under a second.
void BM_Charge100000(benchmark::State& state) {
  static const std::string chemin = [] {
    const auto f = std::filesystem::temp_directory_path() /
                   ("vestrel-bench-100000-" + std::to_string(getpid()) + ".txt");
    vestrel::EcritFichierSur(f.string(), vestrel::Utf8VersWin1252(vestrel::essai::GrosCatalogue(100000)));
    return f.string();
  }();
  for (auto _ : state) {
    TDonnees d;
    d.ChargeFichier(chemin);
    benchmark::DoNotOptimize(d.Projections.size());
  }
}
BENCHMARK(BM_Charge100000)->Unit(benchmark::kMillisecond);

void BM_Dechets5Mo(benchmark::State& state) {
  static const std::string chemin = [] {
    const auto f = std::filesystem::temp_directory_path() /
                   ("vestrel-bench-dechets-" + std::to_string(getpid()) + ".txt");
    vestrel::EcritFichierSur(f.string(), vestrel::essai::Dechets(5 << 20));
    return f.string();
  }();
  for (auto _ : state) {
    TDonnees d;
    try {
      d.ChargeFichier(chemin);
    } catch (const vestrel::Erreur& e) {
      benchmark::DoNotOptimize(e.what());
    }
  }
}
BENCHMARK(BM_Dechets5Mo)->Unit(benchmark::kMillisecond);

}  // namespace
