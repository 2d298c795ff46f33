#!/bin/sh
# Times vestrel-cli against PROJ's cs2cs (Debian proj-bin and proj-data, a
# yardstick only) on the same 1 000 000 points and the same transformations,
# side by side: WGS84 geographic to a plain latitude/longitude system, to UTM
# zone 31 north and to Lambert 93; NTF geographic (three-parameter shift) to
# Lambert 93; and, with the shipped catalogue and NTF grid, Lambert II étendu
# to Lambert 93 against "cs2cs EPSG:27572 EPSG:2154" (IGN's NTv2 grid). Then
# the peak resident size of a run on 10 000 000 points beside one on the
# 1 000 000, as many faulty lines as points against the points, and the
# window's cold start on a 10 000-record catalogue.
#
#   bench/cli_vs_cs2cs.sh [BUILD_DIR] [POINTS] [OTHER_CLI]
#
# Both programs run on one thread, read a file and write a file, one after
# the other, REPETITIONS times (3 by default) in turn: the figures are the
# medians, so that a busy machine slows both alike. The ratio is vestrel-cli's
# time over cs2cs's, of the medians, then the median of the turns' ratios.
# The largest difference between their outputs is shown beside the times.
# OTHER_CLI, an earlier build of vestrel-cli, is timed in the same turns on
# the same points (its line is marked "autre"; it must lie in BUILD_DIR,
# beside the NTF grid, to find it), with the number of output lines that
# differ from this build's and the largest difference. MEMOIRE=0 leaves out
# the 10 000 000-point run, LIGNES_FAUTIVES=0 the faulty lines, FENETRE=0
# the cold start.
set -eu

BUILD=${1:-build}
POINTS=${2:-1000000}
AUTRE=${3:-}
REPETITIONS=${REPETITIONS:-3}
SOURCES=$(cd "$(dirname "$0")/.." && pwd)
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

# Wall time and processor time (user + system) of one run, appended as a
# line "wall processor" to TIMES_FILE.
chrono() {  # OUTPUT_FILE TIMES_FILE COMMAND...
  sortie=$1 temps=$2
  shift 2
  /usr/bin/time -f "%e %U %S" -o "$TMP/temps" "$@" > "$sortie"
  awk '{ print $1, $2 + $3 }' "$TMP/temps" >> "$temps"
}

# The median of the ratios, turn by turn, of the first columns of two times
# files (the same turns): a slow spell of the machine that falls on one turn
# slows both programs of that turn alike.
rapport_median() {  # TIMES_FILE TIMES_FILE
  paste -d' ' "$1" "$2" | awk '{ print $1 / $3 }' | sort -n | awk '{ v[NR] = $1 } END {
    printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The medians of the two columns of a times file.
medianes() {  # TIMES_FILE
  for colonne in 1 2; do
    cut -d' ' -f$colonne "$1" | sort -n | awk '{ v[NR] = $1 } END {
      printf "%s ", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
  done
}

# Largest difference between the first two numbers of each line of two
# files (the first one has two columns).
ecart() {  # FILE FILE
  paste "$1" "$2" | awk '{ dx = $1 - $3; dy = $2 - $4; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy;
    if (dx > m) m = dx; if (dy > m) m = dy } END { printf "%.3f", m }'
}

# compare NAME VESTREL_ARGUMENTS VESTREL_INPUT CS2CS_ARGUMENTS CS2CS_INPUT
compare() {
  nom=$1 arguments=$2 entree=$3 arguments_cs2cs=$4 entree_cs2cs=$5
  : > "$TMP/t_vestrel"; : > "$TMP/t_cs2cs"; : > "$TMP/t_autre"
  i=0
  while [ "$i" -lt "$REPETITIONS" ]; do
    # shellcheck disable=SC2086
    chrono "$TMP/sortie_vestrel.txt" "$TMP/t_vestrel" "$CLI" convertir $arguments "$entree"
    chrono "$TMP/sortie_cs2cs.txt" "$TMP/t_cs2cs" sh -c "cs2cs -f %.3f $arguments_cs2cs < '$entree_cs2cs'"
    if [ -n "$AUTRE" ]; then
      # shellcheck disable=SC2086
      chrono "$TMP/sortie_autre.txt" "$TMP/t_autre" "$AUTRE" convertir $arguments "$entree"
    fi
    i=$((i + 1))
  done
  if [ -n "$AUTRE" ]; then
    lignes=$(paste -d'|' "$TMP/sortie_autre.txt" "$TMP/sortie_vestrel.txt" |
      awk -F'|' '$1 != $2 { n++ } END { print n + 0 }')
    e=$(ecart "$TMP/sortie_autre.txt" "$TMP/sortie_vestrel.txt")
    echo "$(medianes "$TMP/t_autre") $(medianes "$TMP/t_cs2cs")" | awk -v n="$POINTS" \
      -v nom="$nom" -v lignes="$lignes" -v e="$e" '{
      k = 1e6 / n;
      printf "%-22s autre       %5.2f s (processeur %5.2f)   rapport %4.2f (processeur %4.2f)   %s lignes différentes, écart max %s m\n",
             nom, $1 * k, $2 * k, $1 / $3, $2 / $4, lignes, e }'
  fi
  e=$(ecart "$TMP/sortie_vestrel.txt" "$TMP/sortie_cs2cs.txt")
  r=$(rapport_median "$TMP/t_vestrel" "$TMP/t_cs2cs")
  echo "$(medianes "$TMP/t_vestrel") $(medianes "$TMP/t_cs2cs")" | awk -v n="$POINTS" \
    -v nom="$nom" -v e="$e" -v r="$r" '{
    k = 1e6 / n;
    printf "%-22s vestrel-cli %5.2f s (processeur %5.2f)   cs2cs %5.2f s (processeur %5.2f)   rapport %4.2f (processeur %4.2f, par essai %s)   écart max %s m\n",
           nom, $1 * k, $2 * k, $3 * k, $4 * k, $1 / $3, $2 / $4, r, e }'
}

# compare_wgs84 NAME CS2CS_DESTINATION [SOURCE CS2CS_SOURCE]
compare_wgs84() {
  depart=${3:-WGS84}
  [ "$depart" = WGS84 ] && nom=$1 || nom="$depart>$1"
  source_cs2cs=${4:-+proj=longlat +ellps=GRS80 +towgs84=0,0,0}
  compare "$nom" "--catalogue $TMP/catalogue.txt --depart $depart --arrivee $1" "$TMP/vestrel.txt" \
    "$source_cs2cs +to $2 +towgs84=0,0,0" "$TMP/cs2cs.txt"
}

echo "$POINTS points, médianes de $REPETITIONS essais ; secondes par million de points, temps écoulé (temps processeur) ; rapport : vestrel-cli / cs2cs"
if ajoute 'Projection "Projection Latitude/Longitude"="Plate" "Plate carr\0351e" "WGS84"'; then
  compare_wgs84 Plate "+proj=eqc +ellps=GRS80"
fi
if ajoute 'Projection "UTM Fuseau"="UTM31" "UTM fuseau 31 nord" "WGS84" 31 0'; then
  compare_wgs84 UTM31 "+proj=utm +zone=31 +ellps=GRS80"
else
  echo "UTM31                  (genre \"UTM Fuseau\" absent de cette construction)"
fi
if ajoute 'Projection "Lambert Conique S\0351cant"="Lambert93" "Lambert 93" "WGS84" 700000 6600000 3\0260 46\026030'"'"' 44\0260 49\0260'; then
  compare_wgs84 Lambert93 "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80"
else
  echo "Lambert93              (genre \"Lambert Conique Sécant\" absent de cette construction)"
fi
if ajoute 'Ellipsoide="Clarke 1880 IGN" "Clarke 1880 IGN" 6378249.2 0.0824832567634' \
  'Datum="NTF" "NTF, trois param\0350tres" "Clarke 1880 IGN" -168 -60 320 *' &&
  grep -q 'Lambert93' "$TMP/catalogue.txt"; then
  compare_wgs84 Lambert93 "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80" \
    NTF "+proj=longlat +a=6378249.2 +b=6356515 +towgs84=-168,-60,320"
fi

# Lambert II étendu to Lambert 93 through the NTF grid: the shipped catalogue,
# the grid beside the program. The points: in the grid, 42.5..50.5° N and
# 4° W..8° E, brought into Lambert II étendu by cs2cs once (not timed).
if [ -f "$BUILD/gr3df97a.txt" ] && cs2cs EPSG:4326 EPSG:27572 < /dev/null 2> /dev/null; then
  awk -v n="$POINTS" 'BEGIN { srand(2); for (i = 0; i < n; i++)
    printf "%.8f %.8f\n", 42.5 + 8 * rand(), -4 + 12 * rand() }' |
    cs2cs -f %.3f EPSG:4326 EPSG:27572 | awk '{ print $1, $2 }' > "$TMP/lambert2.txt"
  compare "LIIe>L93 (grille)" \
    "--catalogue $SOURCES/data/france.txt --depart EPSG:27572 --arrivee EPSG:2154" \
    "$TMP/lambert2.txt" "EPSG:27572 EPSG:2154" "$TMP/lambert2.txt"
else
  echo "LIIe>L93 (grille)      (gr3df97a.txt absent de $BUILD, ou EPSG:27572 inconnu de cs2cs)"
fi

# Peak resident size: 10 000 000 points against the 1 000 000 above.
if [ "${MEMOIRE:-1}" != 0 ] && grep -q 'UTM31' "$TMP/catalogue.txt"; then
  pic() {  # INPUT: peak resident size in kB of a conversion to UTM 31
    /usr/bin/time -f "%M" -o "$TMP/pic" "$CLI" convertir --catalogue "$TMP/catalogue.txt" \
      --depart WGS84 --arrivee UTM31 "$1" > /dev/null
    cat "$TMP/pic"
  }
  grand=$((POINTS * 10))
  i=0
  while [ "$i" -lt 10 ]; do cat "$TMP/vestrel.txt"; i=$((i + 1)); done > "$TMP/grand.txt"
  echo "mémoire (pic résident, WGS84>UTM31) : $POINTS points $(pic "$TMP/vestrel.txt") ko, $grand points $(pic "$TMP/grand.txt") ko"
  rm -f "$TMP/grand.txt"
fi

# Faulty lines against points: as many lines that cannot be read as points
# above, each told on standard error, beside the same number of points to
# UTM 31, in the same turns (LIGNES_FAUTIVES=0 leaves them out).
if [ "${LIGNES_FAUTIVES:-1}" != 0 ] && grep -q 'UTM31' "$TMP/catalogue.txt"; then
  awk -v n="$POINTS" 'BEGIN { for (i = 0; i < n; i++) print "abc def" }' > "$TMP/fautives.txt"
  : > "$TMP/t_fautives"; : > "$TMP/t_points"
  i=0
  while [ "$i" -lt "$REPETITIONS" ]; do
    for f in fautives points; do
      [ "$f" = fautives ] && entree="$TMP/fautives.txt" || entree="$TMP/vestrel.txt"
      # The status 1 of the faulty lines is expected.
      chrono /dev/null "$TMP/t_$f" sh -c "'$CLI' convertir --catalogue '$TMP/catalogue.txt' \
        --depart WGS84 --arrivee UTM31 '$entree' 2> /dev/null; true"
    done
    i=$((i + 1))
  done
  echo "$(medianes "$TMP/t_fautives") $(medianes "$TMP/t_points")" | awk -v n="$POINTS" '{
    k = 1e6 / n;
    printf "lignes fautives         %5.2f s (processeur %5.2f) par million, points %5.2f s (processeur %5.2f)\n",
           $1 * k, $2 * k, $3 * k, $4 * k }'
  rm -f "$TMP/fautives.txt"
fi

# The window's cold start to its first paint, 10 000 records.
DEMARRAGE="$BUILD/bench/ui/demarrage_fenetre"
if [ "${FENETRE:-1}" != 0 ] && [ -x "$DEMARRAGE" ]; then
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$DEMARRAGE" 2>&1 | tail -n 3
fi
