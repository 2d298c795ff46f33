#pragma once
// The factory of coordinate systems by nature name, and the record line of a
// system in the data file:
//   Projection "<nature>"="<name>" "<description>" "<datum>" p1 p2 ...
// with the parameters in the flattened order (reals "%.12g", integers "%d",
// angles as their stored text, booleans 1/0).
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "systems/multiple.h"
#include "systems/projection.h"
#include "tools/outils.h"

namespace vestrel {

class TDatum;

struct TTypeProjection {
  const char* Nature;
  std::unique_ptr<TProjection> (*Cree)();
};
struct TTypeMultiple {
  const char* Nature;
  std::unique_ptr<TMultiple> (*Cree)();
};

// The kinds known to the factory, in the order the editor lists them.
std::span<const TTypeProjection> TypesProjection();
std::span<const TTypeMultiple> TypesMultiple();

// A new system of that nature (exact comparison), or none.
std::unique_ptr<TProjection> CreeProjection(const std::string& nature);
std::unique_ptr<TMultiple> CreeMultiple(const std::string& nature);

// Parameter count of a nature, -1 when unknown.
int NombreParametres(const std::string& nature);
// Name of the parameter at that position of the flattened order; empty when
// out of range or unknown.
std::string NomParametre(const std::string& nature, int indice);

// Appends the system's record line, CR LF included.
void Ecriture(const TAncetre& systeme, std::string& sortie);
// Reads the rest of a record line (the stream stands after its "=") into a
// freshly created system; the datum is looked up in `datums` from the first.
// LitParametres stops there, leaving Valide false; Lecture then computes the
// derived constants (SetValide(true)), raising their error.
void LitParametres(TAncetre& systeme, TFlux& flux,
                   const std::vector<std::unique_ptr<TDatum>>& datums);
// The same with the datum found by `trouveDatum` (name → datum or none).
void LitParametres(TAncetre& systeme, TFlux& flux,
                   const std::function<TDatum*(const std::string&)>& trouveDatum);
void Lecture(TAncetre& systeme, TFlux& flux, const std::vector<std::unique_ptr<TDatum>>& datums);

}  // namespace vestrel
