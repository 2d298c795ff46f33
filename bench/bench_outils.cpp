// Timing of the angle text: reading a DMS text, writing DMS and decimal
// degrees.
#include <benchmark/benchmark.h>

#include "tools/outils.h"

namespace {

using namespace vestrel;

void BM_TexteVersAngleDMS(benchmark::State& state) {
  const std::string texte = "-48°51'24.123''";
  for (auto _ : state) benchmark::DoNotOptimize(TexteVersAngle(texte));
}
BENCHMARK(BM_TexteVersAngleDMS);

void BM_AngleVersDMS(benchmark::State& state) {
  double angle = 0.8527197653;
  for (auto _ : state) {
    benchmark::DoNotOptimize(angle);
    benchmark::DoNotOptimize(AngleVersDMS(angle));
  }
}
BENCHMARK(BM_AngleVersDMS);

void BM_AngleVersDegres(benchmark::State& state) {
  double angle = 0.8527197653;
  for (auto _ : state) {
    benchmark::DoNotOptimize(angle);
    benchmark::DoNotOptimize(AngleVersDegres(angle));
  }
}
BENCHMARK(BM_AngleVersDegres);

}  // namespace
