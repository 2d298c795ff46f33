#include "tools/nombres.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "../commun/message.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"
#include "tools/outils.h"

using namespace vestrel;

TEST(Nombres, LectureStricte) {
  for (auto [texte, valeur] : {std::pair{"231500.5", 231500.5}, {"+1e3", 1000.0}, {"-.5", -0.5},
                               {"5.", 5.0}, {"1E-2", 0.01}, {"1e-400", 0.0}})
    EXPECT_EQ(LitReel(texte), valeur) << texte;
  for (auto [texte, valeur] : {std::pair{"-12", -12}, {"+7", 7}, {"2147483647", 2147483647}})
    EXPECT_EQ(LitEntier(texte), valeur) << texte;
  for (const char* faux : {"", " 1", "1 ", "231500,5", "inf", "nan", "0x10", "1e", "e5", ".", "+",
                           "--1", "1e400", "1.2.3", "12,5"}) {
    EXPECT_EQ(essai::Message<ErreurConversion>([&] { LitReel(faux); }),
              "'" + std::string(faux) + "' n'est pas une valeur en virgule flottante correcte");
  }
  for (const char* faux : {"", "12.5", "2147483648", "1e3", " 3", "-", "x"}) {
    EXPECT_EQ(essai::Message<ErreurConversion>([&] { LitEntier(faux); }),
              "'" + std::string(faux) + "' n'est pas une valeur entière correcte");
  }
}

// The short forms (fixed notation with at most 3 decimals of a value below
// 2^53, a real of at most 15 digits without exponent) are done in integers:
// they must give the bytes and the bits of the general routines.
TEST(Nombres, LesFormesCourtesDonnentLesMemesResultatsQueLesFormesGenerales) {
  auto fixe = [](double v, int d) {
    char t[400];
    return std::string(t, std::to_chars(t, t + sizeof t, v, std::chars_format::fixed, d).ptr);
  };
  std::mt19937_64 alea(11);
  std::uniform_real_distribution<double> metres(-2e7, 2e7);
  std::vector<double> valeurs = {0.0, -0.0, 0.0005, 0.0015, 0.0025, -0.0625, 0.5, 2.5,
                                 999.9995, 4503599627370495.5, 9007199254740991.0,
                                 9007199254740992.0, 1e300, 5e-324, -1e-310};
  for (int i = 0; i < 20000; ++i) {
    valeurs.push_back(metres(alea));
    valeurs.push_back(std::ldexp(static_cast<double>(alea() % 100000), -static_cast<int>(alea() % 12)));
    valeurs.push_back(std::bit_cast<double>(alea()));
  }
  for (double v : valeurs) {
    if (!std::isfinite(v)) continue;
    for (int d = 0; d <= 4; ++d) ASSERT_EQ(FormatF(v, d), fixe(v, d)) << v << " " << d;
  }
  for (int i = 0; i < 20000; ++i) {
    const std::string texte = FormatF(metres(alea), static_cast<int>(alea() % 9));
    double attendu = 0;
    std::from_chars(texte.data(), texte.data() + texte.size(), attendu);
    ASSERT_EQ(std::bit_cast<uint64_t>(LitReel(texte)), std::bit_cast<uint64_t>(attendu)) << texte;
  }
  EXPECT_TRUE(std::signbit(LitReel("-0")));
  EXPECT_EQ(LitReel("123456789012345.6"), 123456789012345.6);  // 16 digits: the general reader
  EXPECT_EQ(LitReel("9007199254740993"), 9007199254740992.0);
}

// With a French locale active, numbers and angles are still written and read
// with ".".
TEST(Nombres, UneLocaleFrancaiseNeChangeRien) {
  const char* avant = std::setlocale(LC_ALL, nullptr);
  std::string sauve = avant ? avant : "C";
  if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "locale fr_FR.UTF-8 absente";
  EXPECT_EQ(FormatF(1.5, 3), "1.500");
  EXPECT_EQ(FormatG(0.25, 12), "0.25");
  EXPECT_DOUBLE_EQ(LitReel("0.25"), 0.25);
  EXPECT_THROW(LitReel("0,25"), ErreurConversion);
  EXPECT_EQ(AngleVersDegres(12.25 * DegresVersRadians), "12.25000000°");
  EXPECT_EQ(AngleVersDMS((12.5 + 0.5 / 3600) * DegresVersRadians), "12°30'00.500''");
  EXPECT_NEAR(TexteVersAngle("12.25°"), 12.25 * DegresVersRadians, 1e-12);
  std::setlocale(LC_ALL, sauve.c_str());
}

TEST(Flottant, LaGardeTransformeLesFautesEnErreurs) {
  volatile double zero = 0.0, un = 1.0, grand = 1e308;
  const std::pair<double (*)(double, double, double), const char*> cas[] = {
      {[](double z, double u, double) { return u / z; }, "Division par zéro"},
      {[](double z, double, double) { return z / z; }, "Opération en virgule flottante incorrecte"},
      {[](double, double, double g) { return g * g; }, "Débordement de virgule flottante"},
  };
  for (const auto& [operation, message] : cas) {
    GardeFlottante g;
    volatile double r = operation(zero, un, grand);
    (void)r;
    EXPECT_EQ(essai::Message<ErreurArithmetique>([&] { g.Verifie(); }), message);
  }
  // Faute() clearing the flags, and an inner guard leaving the outer guard's
  // fault: Pipeline.LesFautesArithmetiquesFinissentLaCommande.
}
