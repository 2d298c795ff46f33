// One input line of "convertir": split at blanks, tabs and ";", read with
// the window's texts, converted through the numeric pipeline.
#include "cli/ligne.h"

#include <charconv>

#include "tools/codec.h"
#include "tools/nombres.h"

namespace vestrel::cli {

namespace {

constexpr const char* kMessageFuseau = "Le numéro de fuseau de départ est incorrecte, exemple 12";
constexpr int kChampsMax = 4;  // ID X Y FUSEAU

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }
bool EstSeparateur(char c) { return c == ' ' || c == '\t' || c == ';'; }

// Splits at runs of blanks, tabs and ";"; counts up to kChampsMax + 1 fields.
int Decoupe(std::string_view ligne, std::string_view (&champs)[kChampsMax + 1]) {
  int n = 0;
  size_t i = 0, taille = ligne.size();
  while (n <= kChampsMax) {
    while (i < taille && EstSeparateur(ligne[i])) ++i;
    if (i == taille) break;
    size_t debut = i;
    while (i < taille && !EstSeparateur(ligne[i])) ++i;
    champs[n++] = ligne.substr(debut, i - debut);
  }
  return n;
}

// True when the bytes are well-formed UTF-8.
bool Utf8Valide(std::string_view t) {
  for (size_t i = 0; i < t.size();) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    size_t suite = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
    if (suite == 9 || (suite > 0 && i + suite >= t.size())) return false;
    for (size_t k = 1; k <= suite; ++k)
      if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return false;
    i += suite + 1;
  }
  return true;
}

// A typed text in the engine's UTF-8: the field itself when it is UTF-8
// already (ASCII included), else its conversion into `tampon` (a file written
// in Windows-1252, the degree sign as the single byte 0xB0).
std::string_view TexteSaisi(std::string_view champ, std::string& tampon) {
  if (Utf8Valide(champ)) return champ;
  tampon = Win1252VersUtf8(champ);
  return tampon;
}

std::string Attendu(const TOptionsConversion& options, const TSystemeResolu& source) {
  std::string t = options.Id ? "ID X Y" : "X Y";
  if (source.Multiple) t += " [FUSEAU]";
  return t;
}

}  // namespace

TConvertisseur::TConvertisseur(const TOptionsConversion& options, const TSystemeResolu& source,
                               const TSystemeResolu& destination)
    : options_(options), source_(source), destination_(destination),
      attendu_(Attendu(options, source)) {}

void TConvertisseur::Convertit(std::string_view ligne, std::string& sortie) {
  std::string_view champs[kChampsMax + 1];
  int n = Decoupe(ligne, champs);
  int base = options_.Id ? 1 : 0;
  bool avecFuseau = source_.Multiple && n == base + 3;
  if (n != base + 2 && !avecFuseau)
    throw ErreurConversion("Nombre de champs incorrect (" + std::to_string(n) +
                           "), attendu : " + attendu_);
  int32_t zone = 0;
  if (source_.Geographique()) {
    zone = options_.ParisDepart ? 1 : 0;
  } else if (source_.Multiple) {
    if (avecFuseau) {
      if (!EssaieLitEntier(champs[base + 2], zone)) throw ErreurConversion(kMessageFuseau);
    } else if (options_.Fuseau) {
      zone = *options_.Fuseau;
    } else {
      throw ErreurConversion(kMessageFuseau);
    }
  }
  double premiere, seconde;
  LitPointDepart(source_, TexteSaisi(champs[base], texteX_),
                 TexteSaisi(champs[base + 1], texteY_), premiere, seconde);
  TPointConverti point;
  ConvertitPoint(source_, zone, destination_, options_.ParisArrivee, premiere, seconde,
                 options_.Details, point);

  const char separateur = ligne.find(';') != std::string_view::npos ? ';' : '\t';
  if (options_.Id) {
    sortie.append(champs[0]);
    sortie.push_back(separateur);
  }
  AjouteCoordonnee(sortie, destination_, point.X, options_.Unite);
  sortie.push_back(separateur);
  AjouteCoordonnee(sortie, destination_, point.Y, options_.Unite);
  if (destination_.Multiple) {
    char chiffres[16];
    auto [fin, ec] = std::to_chars(chiffres, chiffres + sizeof chiffres, point.Zone);
    sortie.push_back(separateur);
    sortie.append(chiffres, fin);
  }
  if (options_.Details) {
    AngleVersTexte(options_.Unite, point.Convergence, texte_);
    sortie.push_back(separateur);
    sortie += texte_;
    sortie.push_back(separateur);
    sortie += TexteAlteration(point.Alteration);
  }
}

bool LigneRecopiee(std::string_view ligne) {
  size_t i = 0;
  while (i < ligne.size() && EstBlanc(ligne[i])) ++i;
  return i == ligne.size() || ligne[i] == '#';
}

}  // namespace vestrel::cli
