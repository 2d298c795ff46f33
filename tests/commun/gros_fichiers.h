#pragma once
// Large data files for the timing checks and their benchmarks: a catalogue of
// many records, and bytes that are no data file at all.
#include <cstdint>
#include <random>
#include <string>

#include "tools/nombres.h"

namespace vestrel::essai {

// `nombre` records (UTF-8, CR LF): one ellipsoid per hundred records, nine
// datums per hundred, the rest plain latitude/longitude systems, every name
// distinct and every record after those it refers to.
inline std::string GrosCatalogue(int nombre) {
  const int ellipsoides = nombre / 100 > 0 ? nombre / 100 : 1, datums = nombre * 9 / 100 > 0 ? nombre * 9 / 100 : 1;
  std::string texte;
  for (int i = 0; i < ellipsoides; ++i)
    texte += "Ellipsoide=\"Ellipsoïde " + FormatD(i) + "\" \"Décrit\" " + FormatG(6378000 + i * 1.25, 12) +
             " 0.0818191910428\r\n";
  for (int i = 0; i < datums; ++i)
    texte += "Datum=\"Datum " + FormatD(i) + "\" \"Réseau géodésique\" \"Ellipsoïde " +
             FormatD(i % ellipsoides) + "\" -168.5 -60.25 320" + (i % 2 ? " 0.1 0.2 -0.3 1.2345679" : "") +
             "\r\n";
  for (int i = ellipsoides + datums; i < nombre; ++i)
    texte += "Projection \"Projection Latitude/Longitude\"=\"Plate " + FormatD(i) +
             "° Est\" \"Plate carrée\" \"Datum " + FormatD(i % datums) + "\"\r\n";
  return texte;
}

// `taille` bytes drawn at random, line ends and "=" included, the same on
// every run.
inline std::string Dechets(size_t taille) {
  std::mt19937 alea(5);
  std::string octets(taille, '\0');
  for (char& c : octets) {
    const uint32_t x = alea();
    c = x % 41 == 0 ? '\n' : x % 53 == 0 ? '=' : x % 59 == 0 ? '"' : static_cast<char>(x >> 8);
  }
  return octets;
}

}  // namespace vestrel::essai
