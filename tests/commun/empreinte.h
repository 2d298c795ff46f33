#pragma once
// What a catalogue computes, as one text: a fixed set of points converted
// from WGS84 through every system of it and back, each number exactly (hex),
// each failure by its message. Two catalogues that convert alike have the
// same text: an edited catalogue must convert as a fresh load of its saved
// file does. And what it saves, as one text.
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "catalogue/donnee.h"
#include "catalogue/pipeline.h"

namespace vestrel::essai {

inline std::string TexteSauve(const TDonnees& donnees) {
  std::string texte;
  donnees.SauveFlux(texte);
  return texte;
}

inline std::string Empreinte(const TDonnees& donnees) {
  constexpr double kDegre = std::numbers::pi / 180;
  const double points[][2] = {{46, 3}, {48.85, 2.35}, {-33.5, -70.25}, {62, 25}};
  const TSystemeResolu wgs84 = donnees.Resout("WGS84");
  std::vector<std::string> noms;
  donnees.ListeNoms(noms);
  std::string texte;
  auto nombre = [&texte](double v) {
    char tampon[40];
    std::snprintf(tampon, sizeof tampon, " %a", v);
    texte += tampon;
  };
  for (const std::string& nom : noms) {
    const TSystemeResolu systeme = donnees.Resout(nom);
    texte += nom + ":";
    for (const auto& p : points) {
      try {
        TPointConverti aller, retour;
        ConvertitPoint(wgs84, 0, systeme, false, p[0] * kDegre, p[1] * kDegre, true, aller);
        for (double v : {aller.X, aller.Y, double(aller.Zone), aller.Convergence, aller.Alteration}) nombre(v);
        ConvertitPoint(systeme, aller.Zone, wgs84, false, aller.X, aller.Y, false, retour);
        for (double v : {retour.X, retour.Y}) nombre(v);
      } catch (const std::exception& e) {
        texte += std::string(" [") + e.what() + "]";
      }
    }
    texte += '\n';
  }
  return texte;
}

}  // namespace vestrel::essai
