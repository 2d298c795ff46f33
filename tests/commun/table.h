#pragma once
// The tables of cases kept in tests/*/data/*.txt, read the same way by every
// table-driven runner: one case a line (CR LF or LF), "#" lines and blank
// lines skipped, each line traced by its file and number.
#include <sstream>
#include <string>
#include <vector>

#include "tools/chemins.h"
#include "tools/nombres.h"

namespace vestrel::essai {

struct TLigneTable {
  std::string Texte;  // without its line end
  std::string Trace;  // "file.txt:N: text", for SCOPED_TRACE

  // The first word of a case line and the numbers after it.
  std::string Mot(std::vector<double>& nombres) const {
    std::istringstream mots(Texte);
    std::string mot;
    mots >> mot;
    nombres.clear();
    for (std::string n; mots >> n;) nombres.push_back(LitReel(n));
    return mot;
  }
};

// The lines of tests/<relatif> (for example "geodesy/data/references.txt").
inline std::vector<TLigneTable> LitTable(const std::string& relatif) {
  std::istringstream fichier(LitFichier(std::string(VESTREL_SOURCE_DIR) + "/tests/" + relatif));
  const std::string nom = relatif.substr(relatif.rfind('/') + 1);
  std::vector<TLigneTable> lignes;
  int numero = 0;
  for (std::string ligne; std::getline(fichier, ligne);) {
    ++numero;
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    if (ligne.empty() || ligne[0] == '#') continue;
    lignes.push_back({ligne, nom + ":" + std::to_string(numero) + ": " + ligne});
  }
  return lignes;
}

}  // namespace vestrel::essai
