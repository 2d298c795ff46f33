#pragma once
// A catalogue holding one system of every kind of the factory, with
// plausible parameters (the file of the catalogue tests), for the targets
// that need systems to work on.
#include <memory>

#include "catalogue/donnee.h"
#include "commun/tous_les_types.h"

namespace vestrel::fuzz {

// That file read into a fresh catalogue (text in memory, UTF-8).
inline std::unique_ptr<TDonnees> CatalogueEssai() {
  auto donnees = std::make_unique<TDonnees>();
  TFlux flux(essai::kTousLesTypes);
  donnees->ChargeFlux(flux);
  return donnees;
}

}  // namespace vestrel::fuzz
