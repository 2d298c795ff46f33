#!/bin/sh
# The fuzz targets, kept alive by the test suite.
#   fuzz_smoke.sh construit <source> <build-fuzz>
#       configures and builds the fuzz targets (clang) if needed;
#   fuzz_smoke.sh lance <source> <build-fuzz> <target> <seconds>
#       runs one target over its seed corpus, then fuzzes it for <seconds>.
# Exit code 77: clang or its libFuzzer runtime is missing, or the target is
# not built (a part of the program it needs is not there yet).
set -u
mode=$1 source=$2 build=$3

case $mode in
construit)
  command -v clang++ >/dev/null 2>&1 || { echo "clang++ absent"; exit 77; }
  essai=$(mktemp -d) || exit 1
  printf 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }\n' \
    > "$essai/essai.cpp"
  if ! clang++ -fsanitize=fuzzer "$essai/essai.cpp" -o "$essai/essai" >/dev/null 2>&1; then
    rm -rf "$essai"; echo "libFuzzer absent (libclang-rt-14-dev)"; exit 77
  fi
  rm -rf "$essai"
  if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$source/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      >/dev/null || exit 1
  fi
  exec cmake --build "$build" -j "${VESTREL_FUZZ_JOBS:-2}"
  ;;
lance)
  cible=$4 secondes=$5
  [ -x "$build/$cible" ] || { echo "$cible n'est pas construite"; exit 77; }
  travail=$(mktemp -d) || exit 1
  trap 'rm -rf "$travail"' EXIT
  # New inputs go to the scratch folder; the seed corpus is only read.
  # Findings are kept beside the build for inspection.
  mkdir -p "$build/trouvailles"
  "$build/$cible" "$travail" "$source/fuzz/corpus/$cible" -max_total_time="$secondes" \
    -rss_limit_mb=4096 -timeout=20 -artifact_prefix="$build/trouvailles/$cible-" \
    -print_final_stats=1 2>"$travail/journal"
  statut=$?
  grep -E '^(INFO: seed corpus|#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units)|ERROR|SUMMARY|Propriété' \
    "$travail/journal"
  [ $statut -eq 0 ] || tail -n 60 "$travail/journal"
  exit $statut
  ;;
esac
echo "usage: $0 construit|lance <source> <build-fuzz> [<cible> <secondes>]" >&2
exit 2
