# Vestrel: `make run` builds and starts the window, `make test` builds and runs every test.
BUILD    ?= build
JOBS     ?= $(shell nproc)
PACKAGES := cmake g++ make libgtest-dev libbenchmark-dev qt6-base-dev qt6-translations-l10n locales \
            proj-bin proj-data \
            clang libclang-rt-14-dev
# The fuzz targets: seconds per target for `make fuzz`, and their build.
FUZZ_SECONDS ?= 60
FUZZ_BUILD   ?= build-fuzz

.PHONY: all deps configure build test run sanitize bench fuzz fuzz-couverture clean

all: build

# Installs what is missing, when run as root on a Debian machine.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ] && command -v apt-get >/dev/null; then \
	    echo "Installation de :$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else echo "Paquets manquants (à installer en root) :$$missing"; fi; \
	fi
	@if ! locale -a 2>/dev/null | grep -qi '^fr_FR.utf-\?8$$'; then \
	  if [ "$$(id -u)" = 0 ] && [ -f /etc/locale.gen ]; then \
	    sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen; \
	    grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >> /etc/locale.gen; \
	    locale-gen >/dev/null; fi; fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Without Qt 6 the build makes no window: say so, and what to install.
run: build
	@if [ -x $(BUILD)/src/ui/vestrel ]; then exec $(BUILD)/src/ui/vestrel; fi; \
	if grep -q '^VESTREL_GUI:BOOL=OFF' $(BUILD)/CMakeCache.txt; then \
	  echo "La fenêtre de Vestrel n'est pas construite : VESTREL_GUI vaut OFF (cmake -DVESTREL_GUI=ON)." >&2; \
	else \
	  echo "La fenêtre de Vestrel n'est pas construite : Qt 6 (Widgets et Test) est introuvable." >&2; \
	  echo "Installez qt6-base-dev (« make deps » en root le fait), puis relancez « make run »." >&2; \
	  echo "Sans Qt, vestrel-cli est construit : $(BUILD)/vestrel-cli --help" >&2; \
	fi; exit 1

# The tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVESTREL_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x $$b ] && $$b; done
	@if [ -x $(BUILD)/bench/ui/demarrage_fenetre ]; then QT_QPA_PLATFORM=offscreen $(BUILD)/bench/ui/demarrage_fenetre; fi

# Every fuzz target for FUZZ_SECONDS, one after the other; what they learn
# is kept in $(FUZZ_BUILD)/corpus, findings in $(FUZZ_BUILD)/trouvailles.
fuzz: deps
	tests/fuzz_smoke.sh construit $(CURDIR) $(CURDIR)/$(FUZZ_BUILD)
	@for cible in $$(cat $(FUZZ_BUILD)/cibles.txt); do \
	  echo "== $$cible ($(FUZZ_SECONDS) s)"; mkdir -p $(FUZZ_BUILD)/corpus/$$cible $(FUZZ_BUILD)/trouvailles; \
	  $(FUZZ_BUILD)/$$cible $(FUZZ_BUILD)/corpus/$$cible fuzz/corpus/$$cible \
	    -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 -timeout=20 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/trouvailles/$$cible- 2>&1 \
	    | grep -E 'DONE|stat::number_of_executed_units|ERROR|SUMMARY|Propriété'; done
	@if ls $(FUZZ_BUILD)/trouvailles/* >/dev/null 2>&1; then \
	  echo "Trouvailles dans $(FUZZ_BUILD)/trouvailles :"; ls $(FUZZ_BUILD)/trouvailles; exit 1; fi

# Line and region coverage of the core reached by each target's corpus (the
# seeds and what `make fuzz` learnt).
fuzz-couverture: deps
	CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz-couverture -DVESTREL_FUZZ_COUVERTURE=ON
	cmake --build build-fuzz-couverture -j $(JOBS)
	@cd build-fuzz-couverture && for cible in $$(cat cibles.txt); do \
	  mkdir -p ../$(FUZZ_BUILD)/corpus/$$cible; \
	  LLVM_PROFILE_FILE=$$cible.profraw ./$$cible -runs=0 ../$(FUZZ_BUILD)/corpus/$$cible \
	    ../fuzz/corpus/$$cible >/dev/null 2>&1; \
	  llvm-profdata merge -sparse $$cible.profraw -o $$cible.profdata; \
	  echo "== $$cible"; llvm-cov report ./$$cible -instr-profile=$$cible.profdata \
	    $(CURDIR)/src/tools $(CURDIR)/src/geodesy $(CURDIR)/src/systems $(CURDIR)/src/catalogue \
	    $(CURDIR)/src/cli | grep -v "^-" | sed "s|^$(CURDIR)/src/||"; done

clean:
	rm -rf $(BUILD) build-sanitize $(FUZZ_BUILD) build-fuzz-couverture
