#include "tools/outils.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "../commun/message.h"
#include "tools/erreurs.h"

using namespace vestrel;

namespace {

double Degres(double d) { return d * DegresVersRadians; }

}  // namespace

// Bad texts and their messages; badly formed numbers give the number
// reader's own message.
TEST(TexteVersAngle, MessagesDesTextesMalFormes) {
  const std::string inconnue = "Erreur de conversion d'angle, unité inconnue";
  const std::pair<const char*, std::string> cas[] = {
      {"", "Erreur de conversion d'angle, texte vide"},
      {"00", inconnue}, {"10", inconnue}, {"-0", inconnue}, {"12.5", inconnue},
      {"12G", inconnue}, {"12\xB0", inconnue}, {"12°x", inconnue},
      {"30'", "Erreur de conversion d'angle, l'unité des degrés ° n'a pas été trouvée"},
      {"12°30''", "Erreur de conversion d'angle, l'unité des secondes '' n'a pas été trouvée"},
      {"12.5°30'", "'12.5' n'est pas une valeur entière correcte"},
      {"12°3.5'10''", "'3.5' n'est pas une valeur entière correcte"},
      {"12,5°", "'12,5' n'est pas une valeur en virgule flottante correcte"},
      {"12°'", "'' n'est pas une valeur en virgule flottante correcte"},
  };
  for (const auto& [texte, message] : cas)
    EXPECT_EQ(essai::Message<ErreurConversion>([&] { TexteVersAngle(texte); }), message) << texte;
}

TEST(AngleVersTexte, FormesCompactesEtRetenues) {
  // One rounding on the whole count: the carry reaches the minutes; a tiny
  // negative angle keeps its sign.
  for (auto [angle, dms] : {std::pair{Degres(12.5), "12°30'"}, {Degres(-0.5), "-0°30'"},
                            {Degres(1.0 / 3600000), "0°00'00.001''"},
                            {Degres(12 + 34 / 60.0 + 59.9996 / 3600), "12°35'"}, {-1e-15, "-0°"}})
    EXPECT_EQ(AngleVersDMS(angle), dms) << dms;
  for (auto [angle, dm] : {std::pair{Degres(12.5), "12°30'"}, {Degres(12.5083335), "12°30.500'"}, {-1e-15, "-0°"}})
    EXPECT_EQ(AngleVersDM(angle), dm) << dm;
  std::string texte = "inchangé";
  AngleVersTexte(4, 1.0, texte);
  AngleVersTexte(-1, 1.0, texte);
  EXPECT_EQ(texte, "inchangé");
}

// The count of thousandths is held in 64 bits: a 32-bit count wrapped past
// about 596 degrees (DMS) and 35791 degrees (DM).
TEST(AngleVersTexte, GrandsAnglesSansDebordementEtNonFinis) {
  const std::tuple<std::string (*)(double), double, const char*> cas[] = {
      {AngleVersDMS, 1000, "1000°"}, {AngleVersDM, 1000, "1000°"}, {AngleVersDMS, 1e6, "1000000°"},
      {AngleVersDM, -1e6, "-1000000°"}, {AngleVersDMS, 1e6 + 7 / 60.0 + 8.5 / 3600, "1000000°07'08.500''"},
      {AngleVersDM, -(1e6 + 7.25 / 60), "-1000000°07.250'"}};
  for (const auto& [ecrit, degres, texte] : cas) {
    EXPECT_EQ(ecrit(Degres(degres)), texte);
    EXPECT_NEAR(TexteVersAngle(texte), Degres(degres), 1e-12) << texte;
  }
  // From 2^31 whole degrees on, the text could not be read back.
  EXPECT_THROW(AngleVersDMS(Degres(1e13)), ErreurConversion);
  EXPECT_THROW(AngleVersDM(1e300), ErreurConversion);
  EXPECT_THROW(AngleVersDM(Degres(2147483648.0)), ErreurConversion);
  const double plusGrand = Degres(2147483647.5);
  EXPECT_NEAR(TexteVersAngle(AngleVersDMS(plusGrand)), plusGrand, 1e-6);
  EXPECT_NEAR(TexteVersAngle(AngleVersDM(-plusGrand)), -plusGrand, 1e-6);
  // Nor can an angle that is not finite.
  for (int unite = uaDegres; unite <= uaDM; ++unite)
    for (double v : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
      EXPECT_THROW(AngleVersTexte(unite, v), ErreurArithmetique) << unite << " " << v;
}

// ---- Record-line tokens ---------------------------------------------------

TEST(LitLigne, AvaleLesFinsDeLigneEtLesLignesVides) {
  TFlux flux("x\ry\n\nz\r");
  for (const char* ligne : {"x", "y", "z", ""}) EXPECT_EQ(LitLigne(flux), ligne);
}

TEST(DecoupeLigne, JetonsEntreGuillemetsEtNus) {
  std::vector<std::string> liste = {"ancien"};
  DecoupeLigne("\"GRS 80\" \"\" 6378137  0.08", liste);
  EXPECT_EQ(liste, (std::vector<std::string>{"GRS 80", "", "6378137", "0.08"}));
  DecoupeLigne("\"abc\"def\tg", liste);
  EXPECT_EQ(liste, (std::vector<std::string>{"abc", "def", "g"}));
  // An unclosed quote gives an empty token; the rest reads as plain tokens.
  DecoupeLigne("x \"a b", liste);
  EXPECT_EQ(liste, (std::vector<std::string>{"x", "", "a", "b"}));
  DecoupeLigne(" \t ", liste);
  EXPECT_TRUE(liste.empty());
}
