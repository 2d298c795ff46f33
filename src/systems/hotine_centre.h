#pragma once
// "Hotine centré": the Hotine oblique Mercator (Snyder, Map Projections - A
// Working Manual, USGS 1395, pp. 66-75, formulas 9-6 to 9-14 and 9-23 to
// 9-29, in the form of EPSG Guidance Note 7-2, method 9815) with the plane
// origin at the centre of the central line and the plane axes turned by γ0,
// the azimuth of the central line at the equator of the aposphere.
#include "systems/cylindre_oblic.h"

namespace vestrel {

class THotineCentre : public TCylindreOblic {
 public:
  std::string Nature() const override { return "Hotine centré"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

 protected:
  void CalculeConstantes() override;

 private:
  struct TConstantes {
    TConstantesHotine Base;  // its A carries k0 here
    double E;                // F·t0^B
    double Uc;               // u of the centre, metres
    double Landa0p;          // longitude of the natural origin
    double CosGamma0, SinGamma0;
  };
  TConstantes k_{};
};

}  // namespace vestrel
