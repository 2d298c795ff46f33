#!/bin/sh
# Times vestrel-cli against PROJ's cs2cs (Debian proj-bin, a yardstick only)
# on the same 1 000 000 points and the same transformations, side by side:
# WGS84 geographic to a plain latitude/longitude system, to UTM zone 31 north
# and to Lambert 93, and NTF geographic (three-parameter shift) to Lambert 93
# (each kind only when this build's factory knows it).
#
#   bench/cli_vs_cs2cs.sh [BUILD_DIR] [POINTS] [OTHER_CLI]
#
# Both programs run on one thread, read a file and write a file. The largest
# difference between their outputs is shown beside the times. OTHER_CLI, an
# earlier build of vestrel-cli, is timed in the same run on the same points
# (its line is marked "autre"), and its output must be byte-identical.
set -eu

BUILD=${1:-build}
POINTS=${2:-1000000}
AUTRE=${3:-}
CLI="$BUILD/vestrel-cli"
[ -x "$CLI" ] || { echo "vestrel-cli introuvable dans $BUILD" >&2; exit 2; }
[ -z "$AUTRE" ] || [ -x "$AUTRE" ] || { echo "$AUTRE introuvable" >&2; exit 2; }
command -v cs2cs >/dev/null || { echo "cs2cs introuvable (paquet proj-bin)" >&2; exit 2; }

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT INT TERM

# The same pseudo-random points for both: latitude 40..50°, longitude 0..6°.
awk -v n="$POINTS" 'BEGIN { srand(1); for (i = 0; i < n; i++)
  printf "%.8f %.8f\n", 40 + 10 * rand(), 6 * rand() }' > "$TMP/degres.txt"
awk '{ printf "%s\302\260 %s\302\260\n", $1, $2 }' "$TMP/degres.txt" > "$TMP/vestrel.txt"
awk '{ print $2, $1 }' "$TMP/degres.txt" > "$TMP/cs2cs.txt"

# The catalogue: one Windows-1252 record per system; a kind this build does
# not know is left out.
printf '' > "$TMP/catalogue.txt"
ajoute() {  # record lines (Windows-1252 bytes)
  printf '%b\r\n' "$@" > "$TMP/essai.txt"
  if "$CLI" verifier "$TMP/essai.txt" > /dev/null; then
    cat "$TMP/essai.txt" >> "$TMP/catalogue.txt"
    return 0
  fi
  return 1
}

# Wall time and processor time (user + system) of one run.
chrono() {  # OUTPUT_FILE TIMES_FILE COMMAND...
  sortie=$1 temps=$2
  shift 2
  /usr/bin/time -f "%e %U %S" -o "$temps" "$@" > "$sortie"
}

# compare NAME CS2CS_DESTINATION [SOURCE CS2CS_SOURCE]
compare() {
  depart=${3:-WGS84}
  [ "$depart" = WGS84 ] && nom=$1 || nom="$depart>$1"
  source_cs2cs=${4:-+proj=longlat +ellps=GRS80 +towgs84=0,0,0}
  chrono "$TMP/sortie_vestrel.txt" "$TMP/temps_vestrel" "$CLI" convertir \
    --catalogue "$TMP/catalogue.txt" --depart "$depart" --arrivee "$1" "$TMP/vestrel.txt"
  # shellcheck disable=SC2086
  chrono "$TMP/sortie_cs2cs.txt" "$TMP/temps_cs2cs" sh -c "cs2cs -f %.3f \
    $source_cs2cs +to $2 +towgs84=0,0,0 < '$TMP/cs2cs.txt'"
  if [ -n "$AUTRE" ]; then
    chrono "$TMP/sortie_autre.txt" "$TMP/temps_autre" "$AUTRE" convertir \
      --catalogue "$TMP/catalogue.txt" --depart "$depart" --arrivee "$1" "$TMP/vestrel.txt"
    cmp -s "$TMP/sortie_autre.txt" "$TMP/sortie_vestrel.txt" && identique=identique ||
      identique=DIFFÉRENTE
    cat "$TMP/temps_autre" "$TMP/temps_cs2cs" | tr '\n' ' ' | awk -v n="$POINTS" \
      -v nom="$nom" -v identique="$identique" '{
      k = 1e6 / n; vc = ($2 + $3) * k; cc = ($5 + $6) * k;
      printf "%-13s autre       %5.2f s (processeur %5.2f)   rapport à cs2cs %4.1f (processeur %4.1f)   sortie %s\n",
             nom, $1 * k, vc, $4 / $1, cc / vc, identique }'
  fi
  ecart=$(paste "$TMP/sortie_vestrel.txt" "$TMP/sortie_cs2cs.txt" | awk '
    { dx = $1 - $3; dy = $2 - $4; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy;
      if (dx > m) m = dx; if (dy > m) m = dy } END { printf "%.3f", m }')
  cat "$TMP/temps_vestrel" "$TMP/temps_cs2cs" | tr '\n' ' ' | awk -v n="$POINTS" -v nom="$nom" \
    -v ecart="$ecart" '{
    k = 1e6 / n; vc = ($2 + $3) * k; cc = ($5 + $6) * k;
    printf "%-13s vestrel-cli %5.2f s (processeur %5.2f)   cs2cs %5.2f s (processeur %5.2f)   rapport %4.1f (processeur %4.1f)   écart max %s m\n",
           nom, $1 * k, vc, $4 * k, cc, $4 / $1, cc / vc, ecart }'
}

echo "$POINTS points ; secondes par million de points, temps écoulé (temps processeur)"
if ajoute 'Projection "Projection Latitude/Longitude"="Plate" "Plate carr\0351e" "WGS84"'; then
  compare Plate "+proj=eqc +ellps=GRS80"
fi
if ajoute 'Projection "UTM Fuseau"="UTM31" "UTM fuseau 31 nord" "WGS84" 31 0'; then
  compare UTM31 "+proj=utm +zone=31 +ellps=GRS80"
else
  echo "UTM31         (genre \"UTM Fuseau\" absent de cette construction)"
fi
if ajoute 'Projection "Lambert Conique S\0351cant"="Lambert93" "Lambert 93" "WGS84" 700000 6600000 3\0260 46\026030'"'"' 44\0260 49\0260'; then
  compare Lambert93 "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80"
else
  echo "Lambert93     (genre \"Lambert Conique Sécant\" absent de cette construction)"
fi
if ajoute 'Ellipsoide="Clarke 1880 IGN" "Clarke 1880 IGN" 6378249.2 0.0824832567634' \
  'Datum="NTF" "NTF, trois param\0350tres" "Clarke 1880 IGN" -168 -60 320 *' &&
  grep -q 'Lambert93' "$TMP/catalogue.txt"; then
  compare Lambert93 "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80" \
    NTF "+proj=longlat +a=6378249.2 +b=6356515 +towgs84=-168,-60,320"
fi
