#pragma once
// The oblique cylindrical family: the ellipsoid projected onto a cylinder
// whose axis is oblique ("Gauss Laborde Oblique", "Hotine", "Hotine centré").
// This base holds the six parameters shared by the three kinds and the pieces
// of computation they share; it converts nothing itself.
#include <array>

#include "systems/projection.h"

namespace vestrel {

class TCylindreOblic : public TProjection {
 public:
  std::string Nature() const override { return "Cylindrique oblique"; }

  TAngle Landa0;  // longitude of the centre (of the central line for Hotine)
  TAngle Phi0;    // latitude of the centre
  TAngle Theta0;  // azimuth of the central line at the centre (Hotine);
                  // orientation of the cubic term (Gauss-Laborde)
  double k0 = 0;  // scale factor on the central line
  double X0 = 0, Y0 = 0;  // metres, plane coordinates of the plane origin

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0);
    p.Angle("Landa0", Landa0).Angle("Phi0", Phi0).Angle("Theta0", Theta0);
  }

  // Constants of the Hotine oblique Mercator shared by both Hotine kinds
  // (Snyder, Map Projections - A Working Manual, USGS 1395, p. 72), for the
  // centre latitude phiC (radians) on the ellipsoid (a, e).
  struct TConstantesHotine {
    double B;  // exponent of the aposphere
    double A;  // a·B·√(1 − e²)/(1 − e²·sin²φc), without the scale factor
    double D;  // B·√(1 − e²)/(cos φc·√(1 − e²·sin²φc))
    std::array<double, 4> C;  // series of the latitude from the conformal latitude
  };
  static TConstantesHotine ConstantesHotine(double phiC, double a, double e);
  // Geodetic latitude from the conformal latitude chi (radians) through the
  // series in e² of TConstantesHotine::C (Snyder, eq. 3-5).
  static double LatitudeDepuisConforme(double chi, const std::array<double, 4>& c);
};

}  // namespace vestrel
