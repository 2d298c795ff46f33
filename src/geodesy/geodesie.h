#pragma once
// Stateless geodetic routines on the ellipsoid (a, e) and the sphere.
// Angles in radians, lengths in metres. The iterations stop at 1e-11 rad and
// are capped: past the cap, or for a non-finite input, they raise
// ErreurArithmetique.
#include <array>

#include "tools/complexes.h"

namespace vestrel {

inline constexpr double ToleranceIteration = 1e-11;

// atan2(y, x), to the rounding.
double ArcTangente2(double y, double x);
double GrandeNormale(double phi, double a, double e);
double LatitudeIsometrique(double phi, double e);
// ψ = e·atanh(e·s) (s = sin φ), the ellipsoid's share of the isometric
// latitude, and sinh ψ; both summed as series for e ≤ 0.1.
double TermeExcentricite(double s, double e);
double SinhExcentricite(double s, double e);
double LatitudeIsometriqueInverse(double L, double e);
// The isometric latitude from t = tan φ: asinh t − e·atanh(e·sin φ), with
// sin φ = t/√(1 + t²); no trigonometric function on the way.
double LatitudeIsometriqueTangente(double t, double e);

void GeographiqueVersCartesien(double lambda, double phi, double h, double a, double e,
                               double& X, double& Y, double& Z);
// On the polar axis: λ = 0, φ = ±π/2 (the sign of Z). `tangente`, when
// given, receives tan φ off the axis and is left as it was on it.
void CartesienVersGeographique(double X, double Y, double Z, double a, double e,
                               double& lambda, double& phi, double* tangente = nullptr);

// Seven-parameter similarity, position-vector sense. D is the scale
// correction as a pure number, the rotations are in radians.
void SeptParametres(double TX, double TY, double TZ, double D, double RX, double RY,
                    double RZ, double X, double Y, double Z, double& Xp, double& Yp,
                    double& Zp);
void SeptParametresInverseApprochee(double TX, double TY, double TZ, double D, double RX,
                                    double RY, double RZ, double Xp, double Yp, double Zp,
                                    double& X, double& Y, double& Z);
void SeptParametresInverse(double TX, double TY, double TZ, double D, double RX, double RY,
                           double RZ, double Xp, double Yp, double Zp, double& X, double& Y,
                           double& Z);

void SphereVersCartesien(double lambda, double phi, double& x, double& y, double& z);
// λ = π on the negative x half-axis; λ = 0 and φ = sign(z)·π/2 on the z axis.
void CartesienVersSphere(double x, double y, double z, double& lambda, double& phi);
void RotationY(double x, double y, double z, double theta, double& xp, double& yp,
               double& zp);
void Normalise(std::array<double, 3>& v);

using TCoefficients = std::array<double, 5>;
void CoefficientsArcMeridien(double e, TCoefficients& C);
// Meridian arc from the equator divided by a.
double ArcMeridien(double phi, double e);
void CoefficientsMercatorTransverse(double e, TCoefficients& c);
void CoefficientsMercatorTransverseInverse(double e, TCoefficients& c);

// Σ c[k]·sin(2k·φ), k = 1 .. 4 (c[0] is not used), by Clenshaw's recurrence:
// one sine and one cosine of 2φ, then products.
double SommeSinus(const TCoefficients& c, double phi);
// The same sum for a complex argument: one sine and one cosine of 2·Re z,
// one exponential of 2·Im z, then complex products.
TComplexe SommeSinus(const TCoefficients& c, const TComplexe& z);
// The same from sin 2x, cos 2x, sinh 2y and cosh 2y, z = x + iy.
TComplexe SommeSinus(const TCoefficients& c, double s, double co, double sh, double ch);
// sinh x and cosh x from a single exponential (accurate near 0 too).
void SinhCosh(double x, double& sh, double& ch);

// Direction of point 2 seen from point 1, clockwise from north.
double Azimut(double phi1, double lambda1, double phi2, double lambda2, double e);

}  // namespace vestrel
