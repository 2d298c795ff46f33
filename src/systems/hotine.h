#pragma once
// "Hotine": the Hotine oblique Mercator (Snyder, Map Projections - A Working
// Manual, USGS 1395, pp. 66-75, formulas 9-6 to 9-14 and 9-23 to 9-29) with
// the plane origin at the natural origin of the central line (where it meets
// the equator of the aposphere) and the plane axes turned by Theta0, the
// azimuth of the central line at its centre. The inverse goes back through the conformal latitude and
// its series in e², exact to about 1e-12 rad.
#include "systems/cylindre_oblic.h"

namespace vestrel {

class THotine : public TCylindreOblic {
 public:
  std::string Nature() const override { return "Hotine"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

 protected:
  void CalculeConstantes() override;

 private:
  struct TConstantes {
    TConstantesHotine Base;
    double H;          // k0·A/B, metres
    double LnE;        // arccosh(D) − B·L(φc)
    double SinGamma0;  // sin θ0/D
    double CosGamma0;
    double Landa0p;    // longitude of the natural origin
  };
  TConstantes k_{};
};

}  // namespace vestrel
