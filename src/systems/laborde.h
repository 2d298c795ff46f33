#pragma once
// "Gauss Laborde": the transverse Mercator of a Gauss conformal sphere
// (Laborde 1928; IGN, "Projection cartographique Gauss-Laborde", note
// NT/G 73, and "Projection cartographique conique conforme", NT/G 71, for the
// isometric latitude). The ellipsoid goes to the sphere by
//   Ls = c + n1·L(phi, e),  Lambda = n1·(lambda − LandaC),
// and the sphere, of radius n2 (scale included), to the plane by the exact
// spherical transverse Mercator. This kind takes the constants themselves;
// the kinds derived from TLaborde_reel compute them from the usual
// parameters and keep these conversions. Exact formulas: the round trip
// keeps 1e-11 rad wherever the sphere's transverse Mercator is defined
// (away from the points 90° of sphere longitude from the central meridian).
#include <string>

#include "systems/projection.h"

namespace vestrel {

class TLaborde : public TProjection {
 public:
  std::string Nature() const override { return "Gauss Laborde"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double n1 = 0;          // ratio of the isometric latitudes and longitude differences
  double n2 = 0;          // metres, radius of the sphere times the scale factor
  double c = 0;           // added to the isometric latitude on the sphere
  // Metres, where the central meridian meets the sphere's equator
  // (parameters "X0" and "Y0").
  double XEquateur = 0, YEquateur = 0;
  TAngle LandaC;          // longitude of the central meridian

  // The whole core in one step: the five numbers, then the longitude text,
  // parsed (raises the parser's error, the numbers being written already).
  void SetParametres(const std::string& landaC, double N1, double N2, double C, double x0,
                     double y0);

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("n1", n1).Reel("n2", n2).Reel("c", c).Reel("X0", XEquateur).Reel("Y0", YEquateur);
    p.Angle("LandaC", LandaC);
  }
};

}  // namespace vestrel
