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
// The series coefficients, which depend on e only, are computed with the
// constants (CalculeConstantes). The derived kinds (Transverse Mercator, UTM,
// MTM) compute the constants from their own parameters in CalculeConstantes,
// then the series through this class's; the multi-zone system converts
// through Transverse Mercator zones.
#include "geodesy/geodesie.h"
#include "systems/projection.h"

namespace vestrel {

class TTransverseMercatorBrut : public TProjection {
 public:
  std::string Nature() const override { return "Transverse Mercator Brut"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double n = 0;          // k0·a, metres
  double XEquateur = 0;  // metres, parameter "X0"
  double YEquateur = 0;  // metres, parameter "Y0"
  TAngle LandaC;         // central meridian

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("n", n).Reel("X0", XEquateur).Reel("Y0", YEquateur).Angle("LandaC", LandaC);
  }
  // The series of the datum's eccentricity, while the system is valid.
  void CalculeConstantes() override;
  // The constants of a zone of a standard grid (UTM, MTM), series included:
  // scale factor k0, false easting X0, false northing 10 000 000 m in the
  // southern hemisphere and 0 in the northern, central meridian as an angle
  // text.
  void ConstantesFuseau(double k0, double X0, bool sud, const std::string& meridien);

 private:
  TCoefficients Directs_{}, Inverses_{};  // the series, forward and inverse
};

}  // namespace vestrel
