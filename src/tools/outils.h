#pragma once
// Angle texts and record-line tokens.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vestrel {

// ---- Angle text -----------------------------------------------------------
// Inside the program every angle is a double in radians; its text forms are
// read and written here only.

// Display unit of a formatted angle. The values are fixed: callers pass them
// as small integers.
enum TUniteAngle : int { uaDegres = 0, uaDMS = 1, uaGrades = 2, uaDM = 3 };

// Parses "12°34'56.789''", "12°34.567'", "12.5°", "13.8888g" or "0" into
// radians. Raises ErreurConversion.
double TexteVersAngle(std::string_view texte);
// The same without exception: false when the text is not an angle.
bool EssaieTexteVersAngle(std::string_view texte, double& radians) noexcept;

// Formats an angle (radians) in a display unit; a unit outside 0..3 leaves
// `texte` as it was.
void AngleVersTexte(int unite, double angle, std::string& texte);
std::string AngleVersTexte(int unite, double angle);

// The formatters raise ErreurArithmetique for an angle that is not finite;
// AngleVersDMS and AngleVersDM raise ErreurConversion from 2^31 whole degrees
// on, which TexteVersAngle could not read back.
std::string AngleVersDegres(double angle);  // "%.8f°"
std::string AngleVersDMS(double angle);     // 12°34'56.789''
std::string AngleVersGrades(double angle);  // "%.8fg"
std::string AngleVersDM(double angle);      // 12°34.567'

inline constexpr double DegresVersRadians = 0.017453292519943295;
inline constexpr double RadiansVersDegres = 57.29577951308232;
inline constexpr double GradesVersRadians = 0.015707963267948967;
inline constexpr double RadiansVersGrades = 63.66197723675813;

// ---- Record-line tokens ---------------------------------------------------

// A byte stream over a text held in memory (the data file after it was read
// and decoded). Reading is one byte at a time; the only move is one byte back.
class TFlux {
 public:
  TFlux() = default;
  explicit TFlux(std::string contenu) : contenu_(std::move(contenu)) {}
  bool Fin() const { return pos_ >= contenu_.size(); }
  char Lit() { return contenu_[pos_++]; }
  void Recule() { if (pos_ > 0) --pos_; }
  size_t Position() const { return pos_; }
  void Place(size_t pos) { pos_ = pos; }
  size_t Taille() const { return contenu_.size(); }
  const std::string& Contenu() const { return contenu_; }

 private:
  std::string contenu_;
  size_t pos_ = 0;
};

// The keyword of the next record: the bytes up to the first "=" (consumed),
// trailing blanks and tabs removed.
std::string LitCle(TFlux& flux);
// The rest of the current line; the run of CR and LF that ends it is consumed.
std::string LitLigne(TFlux& flux);
// Splits a line at blanks and tabs; double-quoted tokens are kept whole.
void DecoupeLigne(std::string_view ligne, std::vector<std::string>& liste);

}  // namespace vestrel
