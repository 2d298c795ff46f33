#pragma once
// "Transverse Mercator Brut": the transverse Mercator projection of the
// ellipsoid (Gauss–Krüger), given by its constants: n, the scale factor on
// the central meridian times a; (X0, Y0), the image of the crossing of the
// central meridian LandaC with the equator.
//
// Complex series in the eccentricity up to e⁸ (IGN, NT/G 76 "Projection
// cartographique Mercator Transverse", algorithms ALG0034 and ALG0063):
//   z = arctan(sinh L / cos(λ − λC)) + i·L(arcsin(sin(λ − λC)/cosh L), 0),
//   Z = n·(C0·z + Σ C_k·sin 2kz),  X = X0 + Im Z,  Y = Y0 + Re Z,
// L being the isometric latitude; the sums of sines are evaluated by
// Clenshaw's recurrence (one complex sine and cosine per point). Within 3° of the central meridian it
// agrees with the exact projection to far better than a millimetre. The
// arctangents are principal: the useful area is |λ − λC| < 90°.
//
// The derived kinds (Transverse Mercator, UTM, MTM) compute the constants
// from their own parameters in CalculeConstantes; the multi-zone system
// converts through Transverse Mercator zones.
#include <limits>

#include "geodesy/geodesie.h"
#include "systems/projection.h"

namespace vestrel {

class TTransverseMercatorBrut : public TProjection {
 public:
  std::string Nature() const override { return "Transverse Mercator Brut"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double n = 0;    // k0·a, metres
  double X0 = 0;   // metres
  double Y0 = 0;   // metres
  TAngle LandaC;   // central meridian

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("n", n).Reel("X0", X0).Reel("Y0", Y0).Angle("LandaC", LandaC);
  }
  // The constants of a zone of a standard grid (UTM, MTM): scale factor k0,
  // false easting X0, false northing 10 000 000 m in the southern
  // hemisphere and 0 in the northern, central meridian as an angle text.
  void ConstantesFuseau(double k0, double X0, bool sud, const std::string& meridien);

 private:
  // The series coefficients depend on e only: they are kept for the last
  // eccentricity met (the ellipsoid may change between two conversions).
  struct TSeries {
    double e = std::numeric_limits<double>::quiet_NaN();
    TCoefficients Directs{}, Inverses{};
  };
  const TSeries& Series(double e) const;
  mutable TSeries series_;
};

}  // namespace vestrel
