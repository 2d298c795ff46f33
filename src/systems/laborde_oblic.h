#pragma once
// "Gauss Laborde Oblique": the ellipsoid mapped conformally onto the sphere of
// mean curvature at the centre (Gauss), then a transverse cylinder tangent
// along the great circle through the centre, its plane coordinates turned by
// the complex cubic term Rk·(Ac + i·Bc)·(u + i·v)³ oriented by Theta0
// (J. Laborde, 1928; IGN note NT/G 71, oblique form).
// Accurate to the iteration tolerance (10 µm in the plane, 1e-15 rad in
// latitude) wherever the cubic term stays small: a few hundred kilometres
// around the centre.
#include "systems/cylindre_oblic.h"

namespace vestrel {

class TLabordeOblic : public TCylindreOblic {
 public:
  std::string Nature() const override { return "Gauss Laborde Oblique"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

 protected:
  void CalculeConstantes() override;

 private:
  struct TConstantes {
    double Rk;    // radius of the sphere times k0, metres
    double Chi0;  // latitude of the centre on the sphere
    double Alpha; // exponent of the sphere
    double E0;    // exp of the isometric latitude of the centre
    double Ac, Bc;  // coefficients of the cubic term
  };
  TConstantes k_{};
};

}  // namespace vestrel
