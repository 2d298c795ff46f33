#include "tools/codec.h"

#include <gtest/gtest.h>

#include <string>

#include "../commun/message.h"
#include "tools/erreurs.h"

using namespace vestrel;

TEST(Codec, LesDeuxCent56OctetsFontLAllerRetour) {
  std::string octets;
  for (int i = 0; i < 256; ++i) octets += static_cast<char>(i);
  const std::string utf8 = Win1252VersUtf8(octets);
  EXPECT_TRUE(RepresentableWin1252(utf8));
  EXPECT_EQ(Utf8VersWin1252(utf8), octets);
}

TEST(Codec, CaracteresConnus) {
  EXPECT_EQ(Win1252VersUtf8("\xE9"), "é");
  EXPECT_EQ(Win1252VersUtf8("\x80\x9C\x81"), "€œ\xC2\x81");
  EXPECT_EQ(Utf8VersWin1252("é°€œŸ"), "\xE9\xB0\x80\x9C\x9F");
  EXPECT_EQ(Utf8VersWin1252("Ellipsoïde=\"GRS 80\""), "Ellipso\xEF" "de=\"GRS 80\"");
}

TEST(Codec, CaractereHorsWindows1252Nomme) {
  EXPECT_FALSE(RepresentableWin1252("Zone 中"));
  EXPECT_EQ(essai::Message<ErreurConversion>([] { Utf8VersWin1252("Zone 中"); }),
            "Le caractère « 中 » ne peut pas être enregistré en Windows-1252");
  // U+0080 is a C1 control whose byte is taken by the euro sign.
  EXPECT_THROW(Utf8VersWin1252("\xC2\x80"), ErreurConversion);
}

TEST(Codec, Utf8IncorrectRefuse) {
  // Lone byte, truncated sequence, overlong form, surrogate, beyond U+10FFFF.
  for (const char* faux : {"a\xE9z", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80",
                           "\xF4\x90\x80\x80", "\xFF"}) {
    EXPECT_FALSE(RepresentableWin1252(faux)) << faux;
    EXPECT_THROW(Utf8VersWin1252(faux), ErreurConversion) << faux;
  }
  EXPECT_EQ(essai::Message<ErreurConversion>([] { Utf8VersWin1252("a\xE9z"); }),
            "Texte UTF-8 incorrect : octet 0xE9 en position 1");
}
