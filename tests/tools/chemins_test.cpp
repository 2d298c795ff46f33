#include "tools/chemins.h"

#include <gtest/gtest.h>

#include "tools/erreurs.h"

using namespace vestrel;

// An endless source is refused once past the size of any real data file,
// instead of filling the memory (vestrel-cli --catalogue /dev/zero once hung).
TEST(Chemins, UneSourceSansFinEstRefusee) {
  try {
    LitFichier("/dev/zero");
    FAIL();
  } catch (const ErreurEntreeSortie& e) {
    EXPECT_STREQ(e.what(), "Le fichier /dev/zero est trop grand");
  }
  EXPECT_THROW(LitFichier("/chemin/qui/n/existe/pas"), ErreurEntreeSortie);
}
