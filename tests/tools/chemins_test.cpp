#include "tools/chemins.h"

#include <gtest/gtest.h>

#include "../commun/message.h"
#include "tools/erreurs.h"

using namespace vestrel;

// An endless source is refused once past the size of any real data file,
// instead of filling the memory (vestrel-cli --catalogue /dev/zero once hung).
TEST(Chemins, UneSourceSansFinEstRefusee) {
  EXPECT_EQ(essai::Message<ErreurEntreeSortie>([] { LitFichier("/dev/zero"); }),
            "Le fichier /dev/zero est trop grand");
}
