#include "tools/outils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/erreurs.h"
#include "tools/flottant.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

// The degree sign U+00B0 in UTF-8.
constexpr std::string_view kDegre = "\xC2\xB0";

[[noreturn]] void EchecAngle(const char* raison) {
  throw ErreurConversion(std::string("Erreur de conversion d'angle, ") + raison);
}

bool FinitPar(std::string_view texte, std::string_view fin) {
  return texte.size() >= fin.size() && texte.substr(texte.size() - fin.size()) == fin;
}

// Why an angle text cannot be read. Entier and Reel: the number quoted by
// the number readers' messages is `nombre`.
enum class TDefautAngle { Aucun, Vide, UniteInconnue, SansDegres, SansSecondes, Entier, Reel };

// Sexagesimal text without its leading "-" and final apostrophe:
// "12°34'56.789'" or "12°34.567", read into degrees.
TDefautAngle LitSexagesimal(std::string_view texte, double& degres,
                            std::string_view& nombre) noexcept {
  const size_t degre = texte.find(kDegre);
  if (degre == std::string_view::npos) return TDefautAngle::SansDegres;
  int32_t entiers = 0;
  nombre = texte.substr(0, degre);
  if (!EssaieLitEntier(nombre, entiers)) return TDefautAngle::Entier;
  std::string_view reste = texte.substr(degre + kDegre.size());
  const size_t apostrophe = reste.find('\'');
  double reel = 0;
  if (apostrophe == std::string_view::npos) {
    nombre = reste;
    if (!EssaieLitReel(nombre, reel)) return TDefautAngle::Reel;
    degres = entiers + reel / 60.0;
    return TDefautAngle::Aucun;
  }
  int32_t minutes = 0;
  nombre = reste.substr(0, apostrophe);
  if (!EssaieLitEntier(nombre, minutes)) return TDefautAngle::Entier;
  reste = reste.substr(apostrophe + 1);
  if (reste.empty() || reste.back() != '\'') return TDefautAngle::SansSecondes;
  reste.remove_suffix(1);
  nombre = reste;
  if (!EssaieLitReel(nombre, reel)) return TDefautAngle::Reel;
  degres = static_cast<double>(entiers) + minutes / 60.0 + reel / 3600.0;
  return TDefautAngle::Aucun;
}

TDefautAngle LitAngle(std::string_view texte, double& radians, std::string_view& nombre) noexcept {
  if (texte.empty()) return TDefautAngle::Vide;
  const char dernier = texte.back();
  double valeur = 0;
  if (dernier == '\'') {
    bool negatif = false;
    if (texte.front() == '-') {
      negatif = true;
      texte.remove_prefix(1);
    }
    texte.remove_suffix(1);
    const TDefautAngle defaut = LitSexagesimal(texte, valeur, nombre);
    if (defaut != TDefautAngle::Aucun) return defaut;
    radians = negatif ? -(valeur * DegresVersRadians) : valeur * DegresVersRadians;
    return TDefautAngle::Aucun;
  }
  if (dernier == 'g') {
    nombre = texte.substr(0, texte.size() - 1);
    if (!EssaieLitReel(nombre, valeur)) return TDefautAngle::Reel;
    radians = valeur * GradesVersRadians;
    return TDefautAngle::Aucun;
  }
  if (FinitPar(texte, kDegre)) {
    nombre = texte.substr(0, texte.size() - kDegre.size());
    if (!EssaieLitReel(nombre, valeur)) return TDefautAngle::Reel;
    radians = valeur * DegresVersRadians;
    return TDefautAngle::Aucun;
  }
  if (texte == "0") {
    radians = 0.0;
    return TDefautAngle::Aucun;
  }
  return TDefautAngle::UniteInconnue;
}

// Angle in degrees, refusing what no text can hold.
double EnDegres(double angle) {
  const double d = angle * RadiansVersDegres;
  VerifieFini(d);
  return d;
}

// One count of `parDegre` units per degree, rounded once (ties to even) so
// that carries reach the degrees. Held in 64 bits. The whole degrees written
// must read back as a 32-bit integer (the reader's whole degrees), so a count
// of 2^31 degrees or more is refused: no text of that form can hold it.
int64_t CompteArrondi(double degres, double parDegre, double facteur2, const char* forme) {
  // Below this bound the product cannot overflow a double.
  constexpr double kBorne = 1e15;
  const double limite = 2147483648.0 * parDegre * facteur2;
  const double a = std::fabs(degres);
  const double n = a < kBorne ? std::nearbyint(a * parDegre * facteur2) : limite;
  if (!(n < limite))
    throw ErreurConversion(std::string("Angle trop grand pour être écrit en ") + forme + " : " +
                           FormatG(degres, 17) + "°");
  return static_cast<int64_t>(n);
}

// printf's "%.2d" / "%.3d" for a value known to be non-negative.
void AjouteChiffres(std::string& s, int64_t valeur, size_t largeur) {
  const std::string chiffres = FormatD(valeur);
  if (chiffres.size() < largeur) s.append(largeur - chiffres.size(), '0');
  s += chiffres;
}

std::string Signe(double degres) { return degres >= 0 ? std::string() : std::string("-"); }

}  // namespace

double TexteVersAngle(std::string_view texte) {
  double radians = 0;
  std::string_view nombre;
  switch (LitAngle(texte, radians, nombre)) {
    case TDefautAngle::Aucun: return radians;
    case TDefautAngle::Vide: EchecAngle("texte vide");
    case TDefautAngle::UniteInconnue: EchecAngle("unité inconnue");
    case TDefautAngle::SansDegres: EchecAngle("l'unité des degrés ° n'a pas été trouvée");
    case TDefautAngle::SansSecondes: EchecAngle("l'unité des secondes '' n'a pas été trouvée");
    case TDefautAngle::Entier: LitEntier(nombre); break;  // raises its message
    case TDefautAngle::Reel: LitReel(nombre); break;
  }
  throw ErreurAssertion("Lecture d'angle");
}

bool EssaieTexteVersAngle(std::string_view texte, double& radians) noexcept {
  std::string_view nombre;
  return LitAngle(texte, radians, nombre) == TDefautAngle::Aucun;
}

void AngleVersTexte(int unite, double angle, std::string& texte) {
  switch (unite) {
    case uaDegres: texte = AngleVersDegres(angle); break;
    case uaDMS: texte = AngleVersDMS(angle); break;
    case uaGrades: texte = AngleVersGrades(angle); break;
    case uaDM: texte = AngleVersDM(angle); break;
    default: break;
  }
}

std::string AngleVersTexte(int unite, double angle) {
  std::string texte;
  AngleVersTexte(unite, angle, texte);
  return texte;
}

std::string AngleVersDegres(double angle) {
  std::string s = FormatF(EnDegres(angle), 8);
  s += kDegre;
  return s;
}

std::string AngleVersGrades(double angle) {
  const double g = angle * RadiansVersGrades;
  VerifieFini(g);
  std::string s = FormatF(g, 8);
  s += 'g';
  return s;
}

std::string AngleVersDMS(double angle) {
  const double d = EnDegres(angle);
  const int64_t n = CompteArrondi(d, 3600.0, 1000.0, "degrés, minutes et secondes");  // thousandths of a second
  const int64_t degres = n / 3600000;
  int64_t r = n - degres * 3600000;
  const int64_t minutes = r / 60000;
  r -= minutes * 60000;
  const int64_t secondes = r / 1000;
  const int64_t milliemes = r - secondes * 1000;

  std::string s = Signe(d);
  s += FormatD(degres);
  s += kDegre;
  if (minutes == 0 && secondes == 0 && milliemes == 0) return s;
  AjouteChiffres(s, minutes, 2);
  s += '\'';
  if (secondes == 0 && milliemes == 0) return s;
  AjouteChiffres(s, secondes, 2);
  if (milliemes != 0) {
    s += '.';
    AjouteChiffres(s, milliemes, 3);
  }
  s += "''";
  return s;
}

std::string AngleVersDM(double angle) {
  const double d = EnDegres(angle);
  const int64_t n = CompteArrondi(d, 60.0, 1000.0, "degrés et minutes");  // thousandths of a minute
  const int64_t degres = n / 60000;
  const int64_t r = n - degres * 60000;
  const int64_t minutes = r / 1000;
  const int64_t milliemes = r - minutes * 1000;

  std::string s = Signe(d);
  s += FormatD(degres);
  s += kDegre;
  if (minutes == 0 && milliemes == 0) return s;
  AjouteChiffres(s, minutes, 2);
  if (milliemes != 0) {
    s += '.';
    AjouteChiffres(s, milliemes, 3);
  }
  s += '\'';
  return s;
}

// ---- Record-line tokens ---------------------------------------------------

std::string LitCle(TFlux& flux) {
  std::string cle;
  while (!flux.Fin()) {
    const char c = flux.Lit();
    if (c == '=') break;
    cle += c;
  }
  while (!cle.empty() && (cle.back() == ' ' || cle.back() == '\t')) cle.pop_back();
  return cle;
}

std::string LitLigne(TFlux& flux) {
  auto finDeLigne = [](char c) { return c == '\r' || c == '\n'; };
  std::string ligne;
  while (!flux.Fin()) {
    const char c = flux.Lit();
    if (!finDeLigne(c)) {
      ligne += c;
      continue;
    }
    // Swallow the whole run of line breaks, blank lines included; the next
    // line's first byte stays unread.
    while (!flux.Fin()) {
      if (!finDeLigne(flux.Lit())) {
        flux.Recule();
        break;
      }
    }
    break;
  }
  return ligne;
}

void DecoupeLigne(std::string_view ligne, std::vector<std::string>& liste) {
  liste.clear();
  constexpr std::string_view kBlancs = " \t";
  while (!ligne.empty()) {
    const size_t debut = ligne.find_first_not_of(kBlancs);
    if (debut == std::string_view::npos) break;
    ligne.remove_prefix(debut);
    if (ligne.front() == '"') {
      ligne.remove_prefix(1);
      const size_t fin = ligne.find('"');
      if (fin == std::string_view::npos) {
        // Unclosed quote: an empty token, the rest read as plain tokens.
        liste.emplace_back();
        continue;
      }
      liste.emplace_back(ligne.substr(0, fin));
      ligne.remove_prefix(fin + 1);
    } else {
      const size_t fin = std::min(ligne.find_first_of(kBlancs), ligne.size());
      liste.emplace_back(ligne.substr(0, fin));
      ligne.remove_prefix(fin);
    }
  }
}

}  // namespace vestrel
