#pragma once
// The message of the error of type E that a call raises, "" when it raises
// none; an error of another type escapes and fails the test.
#include <string>

#include "tools/erreurs.h"

namespace vestrel::essai {

template <class E = Erreur, class F>
std::string Message(F&& appel) {
  try {
    appel();
  } catch (const E& e) {
    return e.what();
  }
  return "";
}

}  // namespace vestrel::essai
