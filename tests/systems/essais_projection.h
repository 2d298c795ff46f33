#pragma once
// Helpers shared by the projection-kind tests: a catalogue of test datums,
// systems read from the tokens of a record line, guarded conversions in
// degrees.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogue/donnee.h"
#include "systems/createur.h"
#include "tools/flottant.h"

namespace vestrel::essais {

inline constexpr double kDeg = DegresVersRadians;

// "WGS84" (built in: a = 6378137 m, e = 0.08181919106), "NTF" on Clarke 1880
// IGN and "Sphère" of radius 6378137 m.
inline TDonnees& Catalogue() {
  static TDonnees donnees;
  if (!donnees.TrouveDatum("NTF"))
    for (const char* ligne :
         {"Ellipsoide=\"Clarke 1880 IGN\" \"\" 6378249.2 0.0824832567634",
          "Datum=\"NTF\" \"\" \"Clarke 1880 IGN\" 0 0 0",
          "Ellipsoide=\"Sphère de 6378137 m\" \"\" 6378137 0",
          "Datum=\"Sphère\" \"\" \"Sphère de 6378137 m\" 0 0 0"})
      donnees.AjouteLigne(ligne);
  return donnees;
}

// A system of that nature on that datum, read as the catalogue reads the rest
// of its record line: `parametres` are the parameter tokens.
template <class T = TProjection>
std::unique_ptr<T> Systeme(const std::string& nature, const std::string& datum,
                           const std::string& parametres) {
  std::unique_ptr<TAncetre> s = CreeProjection(nature);
  if (!s) s = CreeMultiple(nature);
  EXPECT_TRUE(s) << nature;
  if (!s) return nullptr;
  TFlux flux("\"Essai\" \"\" \"" + datum + "\" " + parametres + "\r\n");
  Lecture(*s, flux, Catalogue().Datums);
  auto t = dynamic_cast<T*>(s.get());
  EXPECT_TRUE(t) << nature;
  s.release();
  return std::unique_ptr<T>(t);
}

// Forward and inverse in degrees under a floating-point guard, as the
// conversion pipeline does.
inline void Aller(const TProjection& p, double phiDeg, double lambdaDeg, double& X, double& Y) {
  GardeFlottante garde;
  p.GeoVersCarto(phiDeg * kDeg, lambdaDeg * kDeg, X, Y);
  garde.Verifie();
}
inline void Retour(const TProjection& p, double X, double Y, double& phiDeg, double& lambdaDeg) {
  GardeFlottante garde;
  p.CartoVersGeo(X, Y, phiDeg, lambdaDeg);
  garde.Verifie();
  phiDeg /= kDeg;
  lambdaDeg /= kDeg;
}

}  // namespace vestrel::essais
