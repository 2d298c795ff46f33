#include "systems/mtm.h"

#include "tools/nombres.h"

namespace vestrel {

void Tmtm::CalculeConstantes() {
  if (!Valide) return;
  // In 64 bits: no zone number overflows. A zone whose meridian would lie
  // east of 49°30' west gives a text that does not read ("--…").
  ConstantesFuseau(0.9999, 304800.0, Sud, "-" + FormatD(Fuseau * 3LL + 49) + "°30'");
}

}  // namespace vestrel
