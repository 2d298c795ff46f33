#pragma once
// EPSG codes of the catalogue. A datum or a coordinate system carries the
// code of the matching EPSG coordinate reference system in its description,
// written "(EPSG:2154)"; where a system name is expected, "EPSG:2154" stands
// for the one entry of the catalogue that carries that code.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/donnee.h"

namespace vestrel {

// The code written "(EPSG:N)" in a description (the first one); none when
// the description carries no code in that form.
std::optional<int> CodeEPSG(std::string_view description);

// The system named `nom`; when no datum or system bears that name and it is
// written "EPSG:N" (any letter case), the one datum or system whose
// description carries code N. Raises ErreurConversion when no entry or more
// than one carries the code. Not found (Trouve() false) for any other
// unknown name.
TSystemeResolu ResoutNomOuCode(const TDonnees& donnees, const std::string& nom);

}  // namespace vestrel
