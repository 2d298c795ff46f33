#pragma once
// A regular longitude/latitude grid of geocentric translations read from a
// text file, interpolated bilinearly. Indexed by WGS84 geographic
// coordinates in degrees.
#include <string>
#include <vector>

namespace vestrel {

class TGrilleIgn {
 public:
  // Reads the file; raises ErreurEntreeSortie or ErreurConversion. A grid
  // whose header is absurd (more than 50 million nodes, a step that is not
  // positive, a maximum below the minimum) is refused before any allocation.
  explicit TGrilleIgn(const std::string& fichier);

  // lon, lat in degrees. False when the point is outside the grid.
  bool Interpole(double lon, double lat, double& tx, double& ty, double& tz) const;

  double LonMin = 0, LonMax = 0, LatMin = 0, LatMax = 0, PasLon = 0, PasLat = 0;
  int NLon = 0, NLat = 0;
  std::vector<double> TX, TY, TZ;  // element i * NLat + j
};

// Removes the leading separators, then cuts the text before the next one.
std::string ExtraitJeton(std::string& ligne, char separateur);

}  // namespace vestrel
