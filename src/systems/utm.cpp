#include "systems/utm.h"

#include "tools/nombres.h"

namespace vestrel {

void TUTM::CalculeConstantes() {
  if (!Valide) return;
  // In 64 bits: no zone number overflows.
  ConstantesFuseau(0.9996, 500000.0, Sud, FormatD(Fuseau * 6LL - 183) + "°");
}

}  // namespace vestrel
