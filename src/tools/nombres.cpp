#include "tools/nombres.h"

#include <algorithm>
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

}  // namespace

bool EssaieLitReel(std::string_view texte, double& valeur) noexcept {
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
    throw ErreurConversion("'" + std::string(texte) +
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
    throw ErreurConversion("'" + std::string(texte) + "' n'est pas une valeur entière correcte");
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
