// Geodetic routines in the forms published by IGN in its technical notes
// (NT/G 71 for the isometric latitude, NT/G 80 for the geographic/cartesian
// conversions and the seven-parameter similarity, and the IGN algorithm
// sheets for the meridian arc and the Gauss-Krüger series).
#include "geodesy/geodesie.h"

#include <cmath>
#include <numbers>

#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kPiSur2 = std::numbers::pi / 2;
constexpr double kPiSur4 = std::numbers::pi / 4;

// Upper bound on the iterations: each of them converges in fewer than ten
// steps for any latitude of an ellipsoid with e < 0.5.
constexpr int kIterationsMax = 100;

[[noreturn]] void NonConvergence() { throw ErreurArithmetique(MessageNonConvergence); }

// Powers e², e⁴, e⁶, e⁸ of the series, each stored as a double.
struct TPuissances {
  double e2, e4, e6, e8;
  explicit TPuissances(double e) : e2(e * e), e4(e2 * e2), e6(e4 * e2), e8(e6 * e2) {}
};

}  // namespace

// Within 45° of the positive x axis, the arc tangent of the quotient (at
// most 1, no overflow): as exact, and cheaper.
double ArcTangente2(double y, double x) {
  return x > 0 && x >= std::fabs(y) ? std::atan(y / x) : std::atan2(y, x);
}

double GrandeNormale(double phi, double a, double e) {
  const double es = e * std::sin(phi);
  return a / std::sqrt(1 - es * es);
}

// For e ≤ 0.1, e·atanh(e·s) = e²·s·Σ u^k/(2k + 1) with u = e²·s² ≤ 0.01:
// the first term left out (k = 9) is below 1e-18 of the sum, so the nine
// terms give the value to its rounding, with no logarithm on the way.
constexpr double kExcentriciteSerieMax = 0.1;

double TermeExcentricite(double s, double e) {
  if (!(std::fabs(e) <= kExcentriciteSerieMax)) return e * std::atanh(e * s);
  // Estrin's scheme: pairs, then quadruples, then the octuple, for a short
  // chain of dependent operations.
  const double e2 = e * e, u = e2 * s * s, u2 = u * u, u4 = u2 * u2;
  const double p01 = 1 + u * (1.0 / 3), p23 = 1.0 / 5 + u * (1.0 / 7),
               p45 = 1.0 / 9 + u * (1.0 / 11), p67 = 1.0 / 13 + u * (1.0 / 15);
  const double somme = (p01 + u2 * p23) + u4 * ((p45 + u2 * p67) + u4 * (1.0 / 17));
  return e2 * s * somme;
}

// σ = sinh ψ for |ψ| ≤ 0.0101 (e ≤ 0.1): ψ·(1 + ψ²/6 + ψ⁴/120 + ψ⁶/5040), the
// next term below 1e-21 of the sum.
double SinhExcentricite(double s, double e) {
  const double psi = TermeExcentricite(s, e);
  if (!(std::fabs(e) <= kExcentriciteSerieMax)) return std::sinh(psi);
  const double p2 = psi * psi;
  return psi * (1 + p2 * (1.0 / 6 + p2 * (1.0 / 120 + p2 * (1.0 / 5040))));
}

// asinh |t| = ln(|t| + √(1 + t²)), without cancellation.
double LatitudeIsometriqueTangente(double t, double e) {
  const double racine = std::sqrt(1 + t * t);
  const double asinh = std::log(std::fabs(t) + racine);
  return (t < 0 ? -asinh : asinh) - TermeExcentricite(t / racine, e);
}

// ln tan(π/4 + φ/2) + (e/2)·ln((1 − e·sin φ)/(1 + e·sin φ)), the second
// logarithm written −e·atanh(e·sin φ).
double LatitudeIsometrique(double phi, double e) {
  return std::log(std::tan(kPiSur4 + phi / 2)) - TermeExcentricite(std::sin(phi), e);
}

namespace {

// Conformal (χ) to geodetic (φ) latitude: φ = χ + Σ c_k·sin 2kχ, k = 1 .. 6,
// the coefficients in powers of the third flattening n = e²/(1 + √(1 − e²))²
// (Krüger's series to n⁶). For n ≤ 2e-3 (every terrestrial ellipsoid has n
// near 1.7e-3) the first term left out is below 1e-17 rad, a tenth of the
// last bit of φ: the sum is then the exact inverse to the rounding.
constexpr double kNSerieMax = 2e-3;

struct TSerieConforme {
  double e = -1;
  double n = 0;
  std::array<double, 7> c{};  // c[0] is not used
};

// The coefficients of the last eccentricity asked for, kept per thread.
const TSerieConforme& SerieConforme(double e) {
  thread_local TSerieConforme serie;
  if (serie.e == e) return serie;
  serie.e = e;
  const double r = 1 + std::sqrt(1 - e * e);
  const double n = e * e / (r * r);
  serie.n = n;
  double p = n;
  serie.c[1] = p * (2 + n * (-2.0 / 3 + n * (-2 + n * (116.0 / 45 +
                                                      n * (26.0 / 45 + n * (-2854.0 / 675))))));
  p *= n;
  serie.c[2] =
      p * (7.0 / 3 + n * (-8.0 / 5 + n * (-227.0 / 45 + n * (2704.0 / 315 + n * (2323.0 / 945)))));
  p *= n;
  serie.c[3] = p * (56.0 / 15 + n * (-136.0 / 35 + n * (-1262.0 / 105 + n * (73814.0 / 2835))));
  p *= n;
  serie.c[4] = p * (4279.0 / 630 + n * (-332.0 / 35 + n * (-399572.0 / 14175)));
  p *= n;
  serie.c[5] = p * (4174.0 / 315 + n * (-144838.0 / 6237));
  p *= n;
  serie.c[6] = p * (601676.0 / 22275);
  return serie;
}

}  // namespace

// For the ellipsoids of the Earth, the series above: χ = arctan(sinh L), and
// sin 2χ, cos 2χ are rational in sinh L, so that one hyperbolic sine and one
// arc tangent do it all. For flatter ellipsoids, the inverse of NT/G 71
// (ALG0002) by Newton's method on τ = tan φ rather than by its fixed-point
// iteration (the same equation; three steps instead of five or six). With
// σ = sinh(e·atanh(e·sin φ)), the isometric latitude is L = asinh(τ'),
// τ' = τ·√(1 + σ²) − σ·√(1 + τ²), and
// dτ'/dτ = (1 − e²)·√(1 + τ'²)·√(1 + τ²)/(1 + (1 − e²)·τ²). The steps stop
// when the latitude moves by less than the tolerance (Δφ ≈ Δτ/(1 + τ²)); the
// convergence being quadratic, the last step leaves far less. Beyond
// |L| = 40 the latitude is ±90° to the last bit.
double LatitudeIsometriqueInverse(double L, double e) {
  // No ellipsoid has |e| >= 1: the equation has no solution there.
  if (!std::isfinite(L) || !(std::fabs(e) < 1)) NonConvergence();
  if (std::fabs(L) > 40) return L < 0 ? -kPiSur2 : kPiSur2;
  // sinh L from one exponential, (E − 1/E)/2, for |L| ≥ 0.5 (latitudes
  // beyond 27°), where the difference loses less than a bit.
  double taup = 0;
  if (std::fabs(L) >= 0.5) {
    const double E = std::exp(L);
    taup = (E - 1 / E) / 2;
  } else {
    taup = std::sinh(L);
  }
  const TSerieConforme& serie = SerieConforme(e);
  if (serie.n <= kNSerieMax) {
    // Clenshaw: b_k = c_k + 2·cos 2χ·b_{k+1} − b_{k+2}, the sum b_1·sin 2χ.
    const double t2 = taup * taup, inverse = 1 / (1 + t2);
    const double sin2 = 2 * taup * inverse, deuxCos2 = 2 * (1 - t2) * inverse;
    double b1 = 0, b2 = 0;
    for (int k = 6; k >= 1; --k) {
      const double b = serie.c[k] + deuxCos2 * b1 - b2;
      b2 = b1;
      b1 = b;
    }
    return std::atan(taup) + b1 * sin2;
  }
  const double e2m = 1 - e * e;
  double tau = taup / e2m;
  for (int n = 0; n < kIterationsMax; ++n) {
    const double racineTau = std::sqrt(1 + tau * tau);
    const double sigma = SinhExcentricite(tau / racineTau, e);
    const double taupa = tau * std::sqrt(1 + sigma * sigma) - sigma * racineTau;
    const double pas = (taup - taupa) * (1 + e2m * tau * tau) /
                       (e2m * racineTau * std::sqrt(1 + taupa * taupa));
    tau += pas;
    if (std::fabs(pas) < ToleranceIteration * (1 + tau * tau)) return std::atan(tau);
  }
  NonConvergence();
}

void GeographiqueVersCartesien(double lambda, double phi, double h, double a, double e,
                               double& X, double& Y, double& Z) {
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double es = e * sinPhi;
  const double N = a / std::sqrt(1 - es * es);
  X = (N + h) * cosPhi * std::cos(lambda);
  Y = (N + h) * cosPhi * std::sin(lambda);
  Z = (N * (1 - e * e) + h) * sinPhi;
}

// Iteration of NT/G 80 (ALG0012),
//   φ ← arctan(Z/R / (1 − a·e²·cos φ/(R·√(1 − e²·sin² φ)))),
// written on t = tan φ, since cos φ/√(1 − e²·sin² φ) = 1/√(1 + (1 − e²)·t²)
// for |φ| < π/2: a square root per step and one arc tangent at the end. The
// steps stop as before when the latitudes of two steps differ by less than
// the tolerance: arctan t − arctan t' = arctan((t − t')/(1 + t·t')).
// On the polar axis (R = 0) the iteration divides by zero; there the latitude
// is ±90° (the sign of Z, north at the centre) and the longitude 0; so it
// is, the longitude apart, within 1e-100 rad of the axis.
//
// The iteration starts from Bowring's formula, on the parametric latitude β
// (tan β = Z·a/(R·b)). Its error grows as the square of the height, about
// 1.4e-21 rad·h²/m² for the ellipsoids of the Earth: within 100 m of the
// ellipsoid (where a datum shift mostly leaves a point of the surface) it is
// below 1.5e-17 rad, a tenth of the last bit of φ, and the formula is the
// answer. The distance to the ellipsoid is told without a square root by
// G = R² + Z²/(1 − e²) − a², zero on the ellipsoid, whose gradient is longer
// than 2b: |G| < 2b·100 m puts the point within 100 m.
namespace {
constexpr double kHauteurBowring = 100;  // metres
}  // namespace

void CartesienVersGeographique(double X, double Y, double Z, double a, double e,
                               double& lambda, double& phi, double* tangente) {
  if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Z)) NonConvergence();
  const double e2 = e * e;
  const double R2 = X * X + Y * Y, R = std::sqrt(R2);
  if (R == 0 || std::fabs(Z) * 1e-100 > R) {
    lambda = R == 0 ? 0 : std::atan2(Y, X);
    phi = Z < 0 ? -kPiSur2 : kPiSur2;
    return;
  }
  lambda = ArcTangente2(Y, X);
  const double b2 = 1 - e2;
  // Bowring's start, from cos β = R·√(1 − e²)/D and sin β = Z/D,
  // D = √(R²·(1 − e²) + Z²). On a very flat ellipsoid or near the centre,
  // the start of NT/G 80.
  double t = 0, denominateur = 0;
  if (e2 < 0.25) {
    const double racine = std::sqrt(b2);
    if (std::fabs(R2 + Z * Z / b2 - a * a) < 2 * a * racine * kHauteurBowring) {
      // Near the ellipsoid, the formula with its denominators cleared:
      // tan φ = (Z·D³ + e²/√(1 − e²)·a·Z³)/(R·D³ − e²·a·(R·√(1 − e²))³),
      // one square root and one division on the way.
      const double D2 = R2 * b2 + Z * Z, D3 = D2 * std::sqrt(D2), Rr = R * racine;
      t = (Z * D3 + e2 / racine * a * Z * Z * Z) / (R * D3 - e2 * a * Rr * Rr * Rr);
      phi = std::atan(t);
      if (tangente) *tangente = t;
      return;
    }
    const double inverse = 1 / std::sqrt(R2 * b2 + Z * Z);
    const double cu = R * racine * inverse, su = Z * inverse;
    denominateur = R - e2 * a * cu * cu * cu;
    if (denominateur > 0) t = (Z + e2 / racine * a * su * su * su) / denominateur;
  }
  const double zSurR = Z / R;
  const double ae2SurR = a * e2 / R;
  if (!(denominateur > 0)) t = zSurR / (1 - a * e2 / std::sqrt(X * X + Y * Y + Z * Z));
  for (int n = 0;; ++n) {
    if (n == kIterationsMax) NonConvergence();
    const double precedent = t;
    t = zSurR / (1 - ae2SurR / std::sqrt(1 + b2 * precedent * precedent));
    if (std::fabs(t - precedent) < ToleranceIteration * (1 + t * precedent)) {
      // A last step just under the tolerance leaves some 1e-14 rad: one
      // more step shrinks that by the factor e² of the iteration.
      if (std::fabs(t - precedent) > 1e-14 * (1 + t * precedent))
        t = zSurR / (1 - ae2SurR / std::sqrt(1 + b2 * t * t));
      break;
    }
  }
  phi = std::atan(t);
  if (tangente) *tangente = t;
}

// Position-vector sense, small rotations (NT/G 80, ALG0013).
void SeptParametres(double TX, double TY, double TZ, double D, double RX, double RY,
                    double RZ, double X, double Y, double Z, double& Xp, double& Yp,
                    double& Zp) {
  const double k = 1 + D;
  Xp = k * X + TX + RY * Z - RZ * Y;
  Yp = k * Y + TY + RZ * X - RX * Z;
  Zp = k * Z + TZ + RX * Y - RY * X;
}

// First-order inverse: exact when D and the rotations are zero.
void SeptParametresInverseApprochee(double TX, double TY, double TZ, double D, double RX,
                                    double RY, double RZ, double Xp, double Yp, double Zp,
                                    double& X, double& Y, double& Z) {
  const double dX = Xp - TX, dY = Yp - TY, dZ = Zp - TZ;
  X = (1 - D) * dX + RZ * dY - RY * dZ;
  Y = (1 - D) * dY - RZ * dX + RX * dZ;
  Z = (1 - D) * dZ - RX * dY + RY * dX;
}

// The matrix of SeptParametres is k·I + [r]ₓ; its inverse is its adjugate
// over det = k(k² + |r|²).
void SeptParametresInverse(double TX, double TY, double TZ, double D, double RX, double RY,
                           double RZ, double Xp, double Yp, double Zp, double& X, double& Y,
                           double& Z) {
  const double k = 1 + D;
  const double dX = Xp - TX, dY = Yp - TY, dZ = Zp - TZ;
  const double det = k * (k * k + RX * RX + RY * RY + RZ * RZ);
  X = ((k * k + RX * RX) * dX + (k * RZ + RX * RY) * dY + (RX * RZ - k * RY) * dZ) / det;
  Y = ((k * k + RY * RY) * dY + (RX * RY - k * RZ) * dX + (k * RX + RY * RZ) * dZ) / det;
  Z = ((k * k + RZ * RZ) * dZ + (k * RY + RX * RZ) * dX + (RY * RZ - k * RX) * dY) / det;
}

void SphereVersCartesien(double lambda, double phi, double& x, double& y, double& z) {
  const double cosPhi = std::cos(phi);
  x = cosPhi * std::cos(lambda);
  y = cosPhi * std::sin(lambda);
  z = std::sin(phi);
}

// Half-angle form λ = 2·atan(y / (x + r)). On the negative x half-axis the
// quotient is 0/0 (or y/0 when y is too small to change r): λ = ±π there.
void CartesienVersSphere(double x, double y, double z, double& lambda, double& phi) {
  const double r = std::sqrt(x * x + y * y);
  if (r < 1e-11) {
    lambda = 0;
    phi = z > 0 ? kPiSur2 : (z < 0 ? -kPiSur2 : 0.0);
    return;
  }
  const double denominateur = x + r;
  lambda = denominateur == 0 ? (y < 0 ? -kPi : kPi) : 2 * std::atan(y / denominateur);
  phi = std::atan(z / r);
}

void RotationY(double x, double y, double z, double theta, double& xp, double& yp,
               double& zp) {
  const double c = std::cos(theta), s = std::sin(theta);
  xp = x * c - z * s;
  yp = y;
  zp = x * s + z * c;
}

void Normalise(std::array<double, 3>& v) {
  const double s = 1 / std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (double& c : v) c *= s;
}

// Meridian arc series, truncated at e⁸.
void CoefficientsArcMeridien(double e, TCoefficients& C) {
  const TPuissances p(e);
  C[0] = 1 - p.e2 / 4 - 3 * p.e4 / 64 - 5 * p.e6 / 256 - 175 * p.e8 / 16384;
  C[1] = -3 * p.e2 / 8 - 3 * p.e4 / 32 - 45 * p.e6 / 1024 - 105 * p.e8 / 4096;
  C[2] = 15 * p.e4 / 256 + 45 * p.e6 / 1024 + 525 * p.e8 / 16384;
  C[3] = -35 * p.e6 / 3072 - 175 * p.e8 / 12288;
  C[4] = 315 * p.e8 / 131072;
}

double ArcMeridien(double phi, double e) {
  TCoefficients C;
  CoefficientsArcMeridien(e, C);
  return C[0] * phi + SommeSinus(C, phi);
}

// Clenshaw: b_k = c_k + 2·cos θ·b_{k+1} − b_{k+2} from k = 4 down to 1, and
// Σ c_k·sin kθ = b_1·sin θ, here with θ = 2φ.
double SommeSinus(const TCoefficients& c, double phi) {
  const double s = std::sin(2 * phi), m = 2 * std::cos(2 * phi);
  double b1 = 0, b2 = 0;
  for (int k = 4; k >= 1; --k) {
    const double b = c[k] + m * b1 - b2;
    b2 = b1;
    b1 = b;
  }
  return b1 * s;
}

// sin(x + iy) = sin x·cosh y + i·cos x·sinh y and
// cos(x + iy) = cos x·cosh y − i·sin x·sinh y, with x + iy = 2z.
TComplexe SommeSinus(const TCoefficients& c, const TComplexe& z) {
  double sh, ch;
  SinhCosh(2 * z.Im, sh, ch);
  return SommeSinus(c, std::sin(2 * z.Re), std::cos(2 * z.Re), sh, ch);
}

TComplexe SommeSinus(const TCoefficients& c, double s, double co, double sh, double ch) {
  const TComplexe m{2 * co * ch, -2 * s * sh};  // 2·cos 2z
  TComplexe b1{0, 0}, b2{0, 0};
  for (int k = 4; k >= 1; --k) {
    const TComplexe b{c[k] + m.Re * b1.Re - m.Im * b1.Im - b2.Re,
                      m.Re * b1.Im + m.Im * b1.Re - b2.Im};
    b2 = b1;
    b1 = b;
  }
  TComplexe somme;
  CplxMul(b1, TComplexe{s * ch, co * sh}, somme);  // b_1·sin 2z
  return somme;
}

// With m = e^x − 1: e^−x − 1 = −m/(m + 1), so sinh x = (m + m/(m + 1))/2
// without the cancellation of e^x − e^−x near 0.
void SinhCosh(double x, double& sh, double& ch) {
  const double m = std::expm1(x);
  const double inverse = 1 / (m + 1);
  sh = (m + m * inverse) / 2;
  ch = (m + 1 + inverse) / 2;
}

// Gauss-Krüger series, direct, truncated at e⁸.
void CoefficientsMercatorTransverse(double e, TCoefficients& c) {
  const TPuissances p(e);
  c[0] = 1 - p.e2 / 4 - 3 * p.e4 / 64 - 5 * p.e6 / 256 - 175 * p.e8 / 16384;
  c[1] = p.e2 / 8 - p.e4 / 96 - 9 * p.e6 / 1024 - 901 * p.e8 / 184320;
  c[2] = 13 * p.e4 / 768 + 17 * p.e6 / 5120 - 311 * p.e8 / 737280;
  c[3] = 61 * p.e6 / 15360 + 899 * p.e8 / 430080;
  c[4] = 49561 * p.e8 / 41287680;
}

// Gauss-Krüger series, inverse, truncated at e⁸.
void CoefficientsMercatorTransverseInverse(double e, TCoefficients& c) {
  const TPuissances p(e);
  c[0] = 1 - p.e2 / 4 - 3 * p.e4 / 64 - 5 * p.e6 / 256 - 175 * p.e8 / 16384;
  c[1] = p.e2 / 8 + p.e4 / 48 + 7 * p.e6 / 2048 + p.e8 / 61440;
  c[2] = p.e4 / 768 + 3 * p.e6 / 1280 + 559 * p.e8 / 368640;
  c[3] = 17 * p.e6 / 30720 + 283 * p.e8 / 430080;
  c[4] = 4397 * p.e8 / 41287680;
}

// The chord towards point 2 is projected on the plane normal to point 1 (on
// the unit ellipsoid) and measured against the local north and east.
double Azimut(double phi1, double lambda1, double phi2, double lambda2, double e) {
  std::array<double, 3> P1, P2;
  GeographiqueVersCartesien(lambda1, phi1, 0, 1, e, P1[0], P1[1], P1[2]);
  GeographiqueVersCartesien(lambda2, phi2, 0, 1, e, P2[0], P2[1], P2[2]);
  Normalise(P1);
  Normalise(P2);
  const double s = 1 / (P1[0] * P2[0] + P1[1] * P2[1] + P1[2] * P2[2]);
  std::array<double, 3> D{s * P2[0] - P1[0], s * P2[1] - P1[1], s * P2[2] - P1[2]};
  Normalise(D);
  const double sinPhi = std::sin(phi1), cosPhi = std::cos(phi1);
  const double sinLam = std::sin(lambda1), cosLam = std::cos(lambda1);
  const double versNord = -D[0] * sinPhi * cosLam - D[1] * sinPhi * sinLam + D[2] * cosPhi;
  const double versEst = -D[0] * sinLam + D[1] * cosLam;
  return std::atan2(versEst, versNord);
}

}  // namespace vestrel
