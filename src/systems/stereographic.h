#pragma once
// "Stéréographique": the oblique stereographic projection of a Gauss
// conformal sphere (IGN, "Projection cartographique stéréographique
// oblique", note NT/G 75; Snyder, "Map Projections - A Working Manual",
// 1987, p. 157-160 for the sphere). The ellipsoid goes to the sphere by
//   L(phis, 0) = c + n1·L(phi, e),  Lambda = n1·(lambda − LandaC),
// the sphere is turned about its Y axis so that the centre (LandaC, PhiC on
// the sphere) becomes its pole, and the pole's tangent plane receives the
// stereographic image, scaled by n2 (radius times scale factor). This kind
// takes the constants themselves; the other stereographic kinds compute them
// from the usual parameters and keep these conversions. Exact formulas,
// defined everywhere except at the antipode of the centre.
#include <string>

#include "systems/projection.h"

namespace vestrel {

class TStereographic : public TProjection {
 public:
  std::string Nature() const override { return "Stéréographique"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double n1 = 0;          // ratio of the isometric latitudes and longitude differences
  double n2 = 0;          // metres, radius of the sphere times the scale factor
  double c = 0;           // added to the isometric latitude on the sphere
  double XCentre = 0, YCentre = 0;  // metres, plane coordinates of the centre ("X0", "Y0")
  TAngle LandaC;          // longitude of the centre
  TAngle PhiC;            // latitude of the centre on the sphere

  // The whole core in one step: the five numbers, then the two angle texts,
  // each parsed (raises the parser's error; what was written stays).
  void SetParametres(const std::string& landaC, const std::string& phiC, double N1, double N2,
                     double C, double x0, double y0);

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("n1", n1).Reel("n2", n2).Reel("c", c).Reel("X0", XCentre).Reel("Y0", YCentre);
    p.Angle("LandaC", LandaC).Angle("PhiC", PhiC);
  }
};

}  // namespace vestrel
