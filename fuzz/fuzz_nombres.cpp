// The number readers against the grammar they promise: a real is an optional
// sign, digits with an optional "." fraction (at least one digit), an optional
// exponent; an integer an optional sign and digits within 32 bits. Each
// throwing reader agrees with its non-throwing twin, and what FormatG writes
// reads back to the same double.
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "commun.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"

using namespace vestrel;

namespace {

bool Chiffre(char c) { return c >= '0' && c <= '9'; }

bool GrammaireReel(std::string_view t) {
  size_t i = 0, chiffres = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  while (i < t.size() && Chiffre(t[i])) ++i, ++chiffres;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && Chiffre(t[i])) ++i, ++chiffres;
  }
  if (chiffres == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t exposant = 0;
    while (i < t.size() && Chiffre(t[i])) ++i, ++exposant;
    if (exposant == 0) return false;
  }
  return i == t.size();
}

// The value of an integer text within 32 bits, or false.
bool ValeurEntiere(std::string_view t, int32_t& valeur) {
  size_t i = 0;
  bool negatif = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negatif = t[i++] == '-';
  if (i == t.size()) return false;
  long long v = 0;
  for (; i < t.size(); ++i) {
    if (!Chiffre(t[i])) return false;
    v = v * 10 + (t[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negatif) v = -v;
  if (v > 2147483647LL) return false;
  valeur = static_cast<int32_t>(v);
  return true;
}

bool MemesBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void VerifieReel(std::string_view texte) {
  double essai = 0;
  const bool lu = EssaieLitReel(texte, essai);
  try {
    const double valeur = LitReel(texte);
    fuzz::Exige(lu && MemesBits(valeur, essai), "LitReel et EssaieLitReel divergent");
  } catch (const ErreurConversion&) {
    fuzz::Exige(!lu, "LitReel refuse ce qu'EssaieLitReel lit");
  }
  if (!lu) return;
  fuzz::Exige(GrammaireReel(texte), "réel lu hors de la grammaire : '" + std::string(texte) + "'");
  fuzz::Exige(std::isfinite(essai), "réel non fini lu");
  // The short forms read without std::from_chars give its value to the bit.
  double attendu = 0;
  const char* premier = texte.data() + (texte[0] == '+' ? 1 : 0);
  const auto [fin, ec] = std::from_chars(premier, texte.data() + texte.size(), attendu);
  fuzz::Exige(ec == std::errc::result_out_of_range || MemesBits(attendu, essai),
              "'" + std::string(texte) + "' lu autrement que par std::from_chars");
  const std::string ecrit = FormatG(essai, 17);
  fuzz::Exige(MemesBits(LitReel(ecrit), essai) || (essai == 0 && LitReel(ecrit) == 0),
              "'%.17g' ne se relit pas : " + ecrit);
  // Fewer digits may round past the largest double; the text still follows
  // the grammar.
  for (int chiffres : {3, 8, 12})
    fuzz::Exige(GrammaireReel(FormatG(essai, chiffres)), "'%.<n>g' hors de la grammaire");
  if (std::fabs(essai) < 1e30) (void)LitReel(FormatF(essai, 3));
}

void VerifieEntier(std::string_view texte) {
  int32_t essai = 0, attendu = 0;
  const bool lu = EssaieLitEntier(texte, essai);
  fuzz::Exige(lu == ValeurEntiere(texte, attendu) && (!lu || essai == attendu),
              "entier mal lu : '" + std::string(texte) + "'");
  try {
    const int32_t valeur = LitEntier(texte);
    fuzz::Exige(lu && valeur == essai, "LitEntier et EssaieLitEntier divergent");
  } catch (const ErreurConversion&) {
    fuzz::Exige(!lu, "LitEntier refuse ce qu'EssaieLitEntier lit");
  }
  if (lu) fuzz::Exige(LitEntier(FormatD(essai)) == essai, "'%d' ne se relit pas");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
  const std::string_view texte = fuzz::Texte(octets, taille);
  VerifieReel(texte);
  VerifieEntier(texte);
  return 0;
}
