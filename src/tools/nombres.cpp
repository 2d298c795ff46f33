#include "tools/nombres.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "tools/erreurs.h"

namespace vestrel {

namespace {

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

// Checks the strict grammar; returns the position after an optional leading
// "+" (which std::from_chars does not accept).
bool GrammaireReel(std::string_view t, size_t& debut) {
  size_t i = 0;
  debut = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    if (t[i] == '+') debut = 1;
    ++i;
  }
  size_t chiffres = 0;
  while (i < t.size() && EstChiffre(t[i])) ++i, ++chiffres;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && EstChiffre(t[i])) ++i, ++chiffres;
  }
  if (chiffres == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t exposant = 0;
    while (i < t.size() && EstChiffre(t[i])) ++i, ++exposant;
    if (exposant == 0) return false;
  }
  return i == t.size();
}

// Decimal order of magnitude of a text that passed the grammar, used only to
// tell an overflow from an underflow.
long OrdreDeGrandeur(std::string_view t) {
  size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  long entiers = 0, zerosFraction = 0;
  bool significatif = false;
  for (; i < t.size() && EstChiffre(t[i]); ++i) {
    if (t[i] != '0') significatif = true;
    if (significatif) ++entiers;
  }
  if (i < t.size() && t[i] == '.') {
    for (++i; i < t.size() && EstChiffre(t[i]); ++i) {
      if (!significatif && t[i] == '0') ++zerosFraction;
      else significatif = true;
    }
  }
  long exposant = 0;
  if (i < t.size()) {  // e or E
    ++i;
    bool negatif = t[i] == '-';
    if (t[i] == '+' || t[i] == '-') ++i;
    for (; i < t.size(); ++i) exposant = std::min(exposant * 10 + (t[i] - '0'), 1000000L);
    if (negatif) exposant = -exposant;
  }
  return entiers > 0 ? entiers - 1 + exposant : exposant - zerosFraction - 1;
}

// The hundred pairs of decimal digits "00" to "99".
constexpr char kPaires[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// "%.<decimales>f" for 0 <= decimales <= 3 and |valeur| < 2^53, the usual
// case of coordinates in metres, done in integers: the exact binary value
// m·2^q times 10^decimales is rounded to the nearest integer, ties to even,
// as printf and std::to_chars round. False when the value is out of that
// range (the general routine then does the work).
bool AjouteFEntier(std::string& sortie, double valeur, int decimales) {
  static constexpr uint64_t kPuissances[] = {1, 10, 100, 1000};
  if (decimales < 0 || decimales > 3) return false;
  const uint64_t bits = std::bit_cast<uint64_t>(valeur);
  const int exposant = static_cast<int>((bits >> 52) & 0x7FF);
  if (exposant == 0x7FF) return false;  // infinite or not a number
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t m = exposant == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int decalage = (exposant == 0 ? 1 : exposant) - 1075;  // valeur = ±m·2^decalage
  if (decalage >= 0) return false;
  const uint64_t puissance = kPuissances[decimales];
  const uint64_t produit = m * puissance;  // < 2^53 · 2^10
  const int s = -decalage;
  uint64_t n = 0;
  if (s < 64) {
    n = produit >> s;
    const uint64_t reste = produit & ((uint64_t{1} << s) - 1);
    const uint64_t moitie = uint64_t{1} << (s - 1);
    if (reste > moitie || (reste == moitie && (n & 1))) ++n;
  }  // else below one half of the last decimal: 0
  char tampon[32];
  char* fin = tampon + sizeof tampon;
  char* p = fin;
  // Division by a constant (a multiplication), not by a variable.
  uint64_t entiers = n;
  switch (decimales) {
    case 1: entiers = n / 10; break;
    case 2: entiers = n / 100; break;
    case 3: entiers = n / 1000; break;
    default: break;
  }
  uint64_t decimalesValeur = n - entiers * puissance;
  for (int i = 0; i < decimales; ++i) {
    *--p = static_cast<char>('0' + decimalesValeur % 10);
    decimalesValeur /= 10;
  }
  if (decimales > 0) *--p = '.';
  // Two digits at a time from a table of the hundred pairs.
  while (entiers >= 100) {
    const uint64_t paire = entiers % 100;
    entiers /= 100;
    p -= 2;
    p[0] = kPaires[2 * paire];
    p[1] = kPaires[2 * paire + 1];
  }
  if (entiers >= 10) {
    p -= 2;
    p[0] = kPaires[2 * entiers];
    p[1] = kPaires[2 * entiers + 1];
  } else {
    *--p = static_cast<char>('0' + entiers);
  }
  if (bits >> 63) *--p = '-';
  sortie.append(p, fin);
  return true;
}

// The common short form, digits with an optional "." fraction and no
// exponent, at most 15 digits in all: the digits make an integer w < 2^53,
// w and 10^k (k decimals, k <= 15 < 22) are exact doubles and w / 10^k is the
// correctly rounded value, the one std::from_chars gives (Clinger's fast
// path).
// False for any other text, which the general reader handles.
bool LitReelCourt(std::string_view t, double& valeur) noexcept {
  static constexpr double kPuissances[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const size_t taille = t.size();
  size_t i = 0;
  const bool negatif = taille > 0 && t[0] == '-';
  if (taille > 0 && (t[0] == '+' || t[0] == '-')) ++i;
  // Unsigned arithmetic: past 19 digits w wraps, and such texts are refused.
  uint64_t w = 0;
  int entiers = 0, decimales = 0;
  for (; i < taille && EstChiffre(t[i]); ++i, ++entiers) w = w * 10 + static_cast<uint64_t>(t[i] - '0');
  if (i < taille && t[i] == '.')
    for (++i; i < taille && EstChiffre(t[i]); ++i, ++decimales)
      w = w * 10 + static_cast<uint64_t>(t[i] - '0');
  const int chiffres = entiers + decimales;
  if (i != taille || chiffres == 0 || chiffres > 15) return false;  // 10^15 < 2^53
  const double v = static_cast<double>(w) / kPuissances[decimales];
  valeur = negatif ? -v : v;
  return true;
}

}  // namespace

bool EssaieLitReel(std::string_view texte, double& valeur) noexcept {
  if (LitReelCourt(texte, valeur)) return true;
  size_t debut;
  if (!GrammaireReel(texte, debut)) return false;
  // "-.5" and ".5": from_chars needs no help; "+" was skipped above, but a
  // "+-" cannot reach here.
  double v = 0;
  const char* premier = texte.data() + debut;
  const char* dernier = texte.data() + texte.size();
  auto [fin, ec] = std::from_chars(premier, dernier, v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Underflow to zero is harmless; overflow is not a value.
    if (OrdreDeGrandeur(texte) > 0) return false;
    v = (texte[0] == '-') ? -0.0 : 0.0;
  } else if (ec != std::errc() || fin != dernier) {
    return false;
  }
  if (!std::isfinite(v)) return false;
  valeur = v;
  return true;
}

double LitReel(std::string_view texte) {
  double v;
  if (!EssaieLitReel(texte, v))
    throw ErreurConversion("'" + Extrait(texte) +
                           "' n'est pas une valeur en virgule flottante correcte");
  return v;
}

bool EssaieLitEntier(std::string_view texte, int32_t& valeur) noexcept {
  size_t i = 0;
  if (i < texte.size() && (texte[i] == '+' || texte[i] == '-')) ++i;
  if (i == texte.size()) return false;
  for (size_t j = i; j < texte.size(); ++j)
    if (!EstChiffre(texte[j])) return false;
  const char* premier = texte.data() + (texte[0] == '+' ? 1 : 0);
  int32_t v = 0;
  auto [fin, ec] = std::from_chars(premier, texte.data() + texte.size(), v, 10);
  if (ec != std::errc() || fin != texte.data() + texte.size()) return false;
  valeur = v;
  return true;
}

int32_t LitEntier(std::string_view texte) {
  int32_t v;
  if (!EssaieLitEntier(texte, v))
    throw ErreurConversion("'" + Extrait(texte) + "' n'est pas une valeur entière correcte");
  return v;
}

void AjouteG(std::string& sortie, double valeur, int chiffres) {
  char tampon[64];
  auto [fin, ec] = std::to_chars(tampon, tampon + sizeof tampon, valeur,
                                 std::chars_format::general, chiffres);
  (void)ec;
  sortie.append(tampon, fin);
}

void AjouteF(std::string& sortie, double valeur, int decimales) {
  if (AjouteFEntier(sortie, valeur, decimales)) return;
  // Fixed notation of a large double can be long: 309 digits at most, plus
  // the sign, the point and the decimals.
  char tampon[400];
  auto [fin, ec] = std::to_chars(tampon, tampon + sizeof tampon, valeur,
                                 std::chars_format::fixed, decimales);
  if (ec != std::errc()) {
    AjouteG(sortie, valeur, 17);
    return;
  }
  sortie.append(tampon, fin);
}

std::string FormatG(double valeur, int chiffres) {
  std::string s;
  AjouteG(s, valeur, chiffres);
  return s;
}

std::string FormatF(double valeur, int decimales) {
  std::string s;
  AjouteF(s, valeur, decimales);
  return s;
}

std::string FormatD(long long valeur) {
  char tampon[24];
  auto [fin, ec] = std::to_chars(tampon, tampon + sizeof tampon, valeur);
  (void)ec;
  return std::string(tampon, fin);
}

}  // namespace vestrel
