#pragma once
// Gauss conformal spheres: the ellipsoid (a, e) mapped conformally onto a
// sphere of radius R by
//   L(χ, 0) = c + n1·L(φ, e),  Λ = n1·(λ − λ0),
// L being the isometric latitude (IGN, NT/G 71 and NT/G 73; Snyder, "Map
// Projections - A Working Manual", 1987, p. 157-160). Three choices of the
// sphere for a latitude of origin φ0 are in use: the sphere of mean curvature
// (Gauss-Laborde, Gauss-Rosenmund, the oblique stereographic, Lambert and
// cylindrical kinds), the sphere tangent along the parallel φ0 and the sphere
// keeping the isometric latitude. Angles in radians, lengths in metres.
namespace vestrel {

struct TSphereGauss {
  double n1 = 0;        // exponent: ratio of the isometric latitudes and longitude differences
  double R = 0;         // radius, metres
  double c = 0;         // added to the isometric latitude on the sphere
  double Latitude = 0;  // the image χ0 of the latitude of origin on the sphere
};

// Mean curvature at φ0: n1 = √(1 + e²·cos⁴φ0/(1 − e²)),
// R = a·√(1 − e²)/(1 − e²·sin²φ0) = √(M·N), χ0 = arcsin(sin φ0/n1),
// c = L(χ0, 0) − n1·L(φ0, e).
TSphereGauss SphereCourbure(double phi0, double a, double e);
// Tangent along the parallel φ0, which keeps its latitude: n1 = 1,
// R = N(φ0), c = L(φ0, 0) − L(φ0, e).
TSphereGauss SphereBitangente(double phi0, double a, double e);
// Keeping the isometric latitude (n1 = 1, c = 0): φ0 goes to
// χ0 = L⁻¹(L(φ0, e), 0); R = N(φ0)·cos φ0/cos χ0 keeps the length of the
// parallel φ0.
TSphereGauss SphereEquatoriale(double phi0, double a, double e);

// The latitude χ on the sphere of the latitude φ on the ellipsoid of
// eccentricity e, and back.
double LatitudeSurSphere(const TSphereGauss& sphere, double phi, double e);
double LatitudeSurEllipsoide(const TSphereGauss& sphere, double chi, double e);

}  // namespace vestrel
