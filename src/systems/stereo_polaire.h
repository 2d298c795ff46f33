#pragma once
// "Stéréographique Polaire": the polar stereographic projection of the
// ellipsoid (Snyder, "Map Projections - A Working Manual", 1987, eq. 21-33
// and 21-34 with the scale k0 given at the pole; the projection of UPS). It
// is the core TStereographic centred on a pole of the sphere that keeps the
// isometric latitude (n1 = 1, c = 0); the radius from the pole is
// 2·n2·exp(∓L(phi, e)). North: Y decreases away from the pole along the
// meridian Landa0; south: it increases.
#include "systems/stereographic.h"

namespace vestrel {

class TStereo_polaire : public TStereographic {
 public:
  std::string Nature() const override { return "Stéréographique Polaire"; }

  TAngle Landa0;          // meridian along the plane's Y axis
  double k0 = 0;          // scale factor at the pole
  double X0 = 0, Y0 = 0;  // metres, plane coordinates of the pole
  bool Sud = false;       // south pole rather than north

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Booleen("Sud", Sud);
  }
  void CalculeConstantes() override;
};

}  // namespace vestrel
