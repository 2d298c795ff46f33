// Timing of the geodetic routines that every conversion runs: geographic to
// cartesian and back (the datum shift), and the inverse isometric latitude
// (the conformal projections' inverse).
#include <benchmark/benchmark.h>

#include "geodesy/datum.h"
#include "geodesy/geodesie.h"

namespace {

using namespace vestrel;

void BM_GeographiqueCartesienAllerRetour(benchmark::State& state) {
  double lambda = 0.0407923443, phi = 0.8527197653, h = 135.2;
  for (auto _ : state) {
    double X, Y, Z;
    benchmark::DoNotOptimize(lambda);
    GeographiqueVersCartesien(lambda, phi, h, DemiGrandAxeWGS84, ExcentriciteWGS84, X, Y, Z);
    double l, p;
    CartesienVersGeographique(X, Y, Z, DemiGrandAxeWGS84, ExcentriciteWGS84, l, p);
    benchmark::DoNotOptimize(l);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_GeographiqueCartesienAllerRetour);

void BM_LatitudeIsometriqueInverse(benchmark::State& state) {
  double L = 0.9741613553;
  for (auto _ : state) {
    benchmark::DoNotOptimize(L);
    benchmark::DoNotOptimize(LatitudeIsometriqueInverse(L, ExcentriciteWGS84));
  }
}
BENCHMARK(BM_LatitudeIsometriqueInverse);

}  // namespace
