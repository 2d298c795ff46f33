#include "tools/nombres.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
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
template <int decimales>
bool AjouteFEntier(std::string& sortie, double valeur) {
  static_assert(decimales >= 0 && decimales <= 3);
  // 10^decimales, a constant: the divisions below are multiplications.
  constexpr uint64_t puissance = decimales == 0 ? 1 : decimales == 1 ? 10 : decimales == 2 ? 100 : 1000;
  const uint64_t bits = std::bit_cast<uint64_t>(valeur);
  const int exposant = static_cast<int>((bits >> 52) & 0x7FF);
  if (exposant == 0x7FF) return false;  // infinite or not a number
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t m = exposant == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int decalage = (exposant == 0 ? 1 : exposant) - 1075;  // valeur = ±m·2^decalage
  if (decalage >= 0) return false;
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
  uint64_t entiers = n / puissance;
  const uint64_t partie = n - entiers * puissance;
  if constexpr (decimales == 3) {
    p -= 4;
    p[1] = static_cast<char>('0' + partie / 100);
    p[2] = kPaires[2 * (partie % 100)];
    p[3] = kPaires[2 * (partie % 100) + 1];
  } else if constexpr (decimales == 2) {
    p -= 3;
    p[1] = kPaires[2 * partie];
    p[2] = kPaires[2 * partie + 1];
  } else if constexpr (decimales == 1) {
    p -= 2;
    p[1] = static_cast<char>('0' + partie);
  }
  if constexpr (decimales > 0) *p = '.';
  if (entiers < 100000000) {
    // Up to eight digits, the usual case: four pairs computed side by side,
    // written whole, then the leading zeros left out (their count without
    // a branch).
    const auto v = static_cast<uint32_t>(entiers);
    const uint32_t haut = v / 10000, bas = v % 10000;
    std::memcpy(p - 8, kPaires + 2 * (haut / 100), 2);
    std::memcpy(p - 6, kPaires + 2 * (haut % 100), 2);
    std::memcpy(p - 4, kPaires + 2 * (bas / 100), 2);
    std::memcpy(p - 2, kPaires + 2 * (bas % 100), 2);
    const int chiffres = 1 + (v >= 10) + (v >= 100) + (v >= 1000) + (v >= 10000) +
                         (v >= 100000) + (v >= 1000000) + (v >= 10000000);
    p -= chiffres;
    if (bits >> 63) *--p = '-';
    sortie.append(p, static_cast<size_t>(fin - p));
    return true;
  }
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
  sortie.append(p, static_cast<size_t>(fin - p));
  return true;
}

bool AjouteFEntier(std::string& sortie, double valeur, int decimales) {
  switch (decimales) {
    case 0: return AjouteFEntier<0>(sortie, valeur);
    case 1: return AjouteFEntier<1>(sortie, valeur);
    case 2: return AjouteFEntier<2>(sortie, valeur);
    case 3: return AjouteFEntier<3>(sortie, valeur);
    default: return false;
  }
}

// The value of the eight decimal digits at `p`; false when one of the bytes
// is not a digit. Eight bytes read as one little-endian word, the digits
// paired, then the pairs, then the quadruples, by multiplications.
bool HuitChiffres(const char* p, uint64_t& valeur) noexcept {
  if constexpr (std::endian::native != std::endian::little) {
    valeur = 0;
    for (int i = 0; i < 8; ++i) {
      if (!EstChiffre(p[i])) return false;
      valeur = valeur * 10 + static_cast<uint64_t>(p[i] - '0');
    }
    return true;
  } else {
    uint64_t x;
    std::memcpy(&x, p, 8);
    // Each byte within '0'..'9': its high half 3, and still 3 after adding 6.
    if (((x & 0xF0F0F0F0F0F0F0F0) | (((x + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) !=
        0x3333333333333333)
      return false;
    x -= 0x3030303030303030;
    x = x * 10 + (x >> 8);
    x = (((x & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
         (((x >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >> 32;
    valeur = x & 0xFFFFFFFF;
    return true;
  }
}

// The number of leading decimal digits of the eight bytes of `x` (first
// byte lowest), and in `valeur` their value. A byte b is a digit when
// b − '0' does not borrow and b + 0x46 does not carry into its high bit; the
// borrows and carries of the other bytes only reach the bytes above them, so
// the lowest flagged byte is the first that is not a digit.
int ChiffresEnTete(uint64_t x, uint64_t& valeur) noexcept {
  constexpr uint64_t kZeros = 0x3030303030303030, kHauts = 0x8080808080808080;
  const uint64_t chiffres = x - kZeros;
  const uint64_t autres = (chiffres | (x + 0x4646464646464646)) & kHauts;
  const int n = autres ? std::countr_zero(autres) / 8 : 8;
  if (n == 0) {
    valeur = 0;
    return 0;
  }
  // The n digits to the top bytes, zeros (leading zeros) below them.
  uint64_t v = chiffres << (8 * (8 - n));
  v = v * 10 + (v >> 8);
  v = (((v & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
       (((v >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >> 32;
  valeur = v & 0xFFFFFFFF;
  return n;
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
  const char* p = t.data();
  const char* const fin = p + t.size();
  const bool negatif = p < fin && *p == '-';
  if (p < fin && (*p == '+' || *p == '-')) ++p;
  // Unsigned arithmetic: past 19 digits w wraps, and such texts are refused.
  uint64_t w = 0;
  const char* const debut = p;
  if constexpr (std::endian::native == std::endian::little) {
    // Up to eight leading digits at once when eight bytes are there.
    if (fin - p >= 8) {
      uint64_t x;
      std::memcpy(&x, p, 8);
      p += ChiffresEnTete(x, w);
    }
  }
  for (; p < fin && EstChiffre(*p); ++p) w = w * 10 + static_cast<uint64_t>(*p - '0');
  const long entiers = p - debut;
  long decimales = 0;
  if (p < fin && *p == '.') {
    const char* const virgule = ++p;
    uint64_t huit;
    while (fin - p >= 8 && HuitChiffres(p, huit)) {
      w = w * 100000000 + huit;
      p += 8;
    }
    if constexpr (std::endian::native == std::endian::little) {
      // A short fraction at the end of a text of eight bytes or more: the
      // eight bytes that end the text, the fraction brought down to their
      // first bytes.
      const long k = fin - p;
      if (k > 0 && k < 8 && fin - t.data() >= 8) {
        uint64_t x, fraction;
        std::memcpy(&x, fin - 8, 8);
        if (ChiffresEnTete(x >> (8 * (8 - k)), fraction) == k) {
          static constexpr uint64_t kPuissances10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
          w = w * kPuissances10[k] + fraction;
          p = fin;
        }
      }
    }
    for (; p < fin && EstChiffre(*p); ++p) w = w * 10 + static_cast<uint64_t>(*p - '0');
    decimales = p - virgule;
  }
  const long chiffres = entiers + decimales;
  if (p != fin || chiffres == 0 || chiffres > 15) return false;  // 10^15 < 2^53
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
