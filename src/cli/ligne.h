#pragma once
// One input line of "convertir": the line handling of the catalogue's point
// files, under the names the command line uses (tests, fuzzing).
#include "catalogue/lignes.h"
#include "cli/cli.h"

namespace vestrel::cli {

using TConvertisseur = TConvertisseurLignes;
using vestrel::LigneRecopiee;

}  // namespace vestrel::cli
