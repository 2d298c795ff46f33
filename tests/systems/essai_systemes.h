#pragma once
// Helpers of the Lambert and Transverse Mercator tests, beside those of
// essais_projection.h: a catalogue of two datums, systems filled from the
// tokens of a record line (any kind of parameter), the record line read back.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "essais_projection.h"
#include "geodesy/datum.h"
#include "systems/createur.h"
#include "tools/outils.h"

namespace vestrel::essai {

using essais::AllersRetours;

constexpr double Deg = DegresVersRadians;

// "WGS84" on GRS 80 (a = 6378137 m, e = 0.08181919106) and "NTF" on
// Clarke 1880 IGN (a = 6378249.2 m, b = 6356515.0 m).
struct TCatalogue {
  std::vector<std::unique_ptr<TEllipsoide>> ellipsoides;
  std::vector<std::unique_ptr<TDatum>> datums;
  TCatalogue() {
    Ajoute("GRS 80", "WGS84", DemiGrandAxeWGS84, ExcentriciteWGS84);
    const double a = 6378249.2, b = 6356515.0;
    Ajoute("Clarke 1880 IGN", "NTF", a, std::sqrt(1 - (b * b) / (a * a)));
  }
  void Ajoute(const char* ellipsoide, const char* datum, double a, double e) {
    auto el = std::make_unique<TEllipsoide>();
    el->Nom = ellipsoide;
    el->A = a;
    el->E = e;
    auto d = std::make_unique<TDatum>();
    d->Nom = datum;
    d->Ellipsoide = el.get();
    ellipsoides.push_back(std::move(el));
    datums.push_back(std::move(d));
  }
  TDatum* Datum(const std::string& nom) const {
    for (const auto& d : datums)
      if (d->Nom == nom) return d.get();
    return nullptr;
  }
};

inline const TCatalogue& Catalogue() {
  static const TCatalogue catalogue;
  return catalogue;
}

// A system of that nature filled from the rest of a record line, as the
// catalogue reader does: `parametres` are the parameter tokens.
template <class T>
std::unique_ptr<T> Systeme(const std::string& datum, const std::string& parametres) {
  auto s = std::make_unique<T>();
  TFlux flux("\"Essai\" \"\" \"" + datum + "\" " + parametres + "\r\n");
  Lecture(*s, flux, Catalogue().datums);
  return s;
}

// The record line of a system, read back into a new system of its nature;
// returns the line written by the new system.
inline std::string LigneRelue(const TAncetre& systeme) {
  std::string ligne;
  Ecriture(systeme, ligne);
  const size_t egal = ligne.find("\"=\"");
  EXPECT_NE(egal, std::string::npos);
  std::unique_ptr<TAncetre> relu = CreeProjection(systeme.Nature());
  if (!relu) relu = CreeMultiple(systeme.Nature());
  EXPECT_TRUE(relu);
  TFlux flux(ligne.substr(egal + 2));
  Lecture(*relu, flux, Catalogue().datums);
  EXPECT_TRUE(relu->Valide);
  std::string relue;
  Ecriture(*relu, relue);
  return relue;
}

// A reference point: longitude and latitude in degrees, expected easting
// and northing in metres; forward within `tolerance` metres, back within
// 1e-9 degree.
struct TPoint {
  double lambda, phi, X, Y;
};
inline void VerifiePoints(const TProjection& p, std::initializer_list<TPoint> points,
                          double tolerance = 1e-3) {
  for (const auto& pt : points) essais::VerifiePoint(p, pt.phi, pt.lambda, pt.X, pt.Y, tolerance);
}

}  // namespace vestrel::essai
