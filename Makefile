# The two commands: `make run` starts the game, `make test` builds and runs every test headless.
# Both first install the Debian packages the build needs (tools/install-deps.sh).
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: run test build configure deps clean fuzz stress package

run: build
	$(BUILD_DIR)/src/game_window/quorvin

test: build
	ctest --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

configure: deps
	cmake --preset $(PRESET)

deps:
	@tools/install-deps.sh

clean:
	rm -rf build

# Longer runs, outside `make test`:
#   make fuzz     builds the fuzz targets with clang-14 and sanitizers in build/fuzz and runs each
#                 for FUZZ_SECONDS; new inputs go to build/fuzz/corpus, faults to build/fuzz/findings
#   make stress   the crash and fault tests with STRESS_KILLS kills of the writer, and the
#                 power-cut test with STRESS_POWER_CUTS rounds of random operations
#   make package  the .deb of the installed game, in build/<preset>/package
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := settings records record_line
FUZZ_DIR := build/fuzz
STRESS_KILLS ?= 2000
STRESS_POWER_CUTS ?= 500

fuzz:
	@tools/install-deps.sh fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUORVIN_FUZZ=ON -DQUORVIN_BUILD_TESTS=OFF
	cmake --build $(FUZZ_DIR) -j2 --target $(addsuffix _fuzz,$(FUZZ_TARGETS))
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/findings; \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/fuzz/$${t}_fuzz $(FUZZ_DIR)/corpus/$$t fuzz/corpus/$$t \
	    -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/findings/$$t-; \
	done

stress: build
	QUORVIN_STRESS_KILLS=$(STRESS_KILLS) QUORVIN_STRESS_POWER_CUTS=$(STRESS_POWER_CUTS) \
	  ctest --preset $(PRESET) -R '^(KilledWriter|FaultTest|PowerCut)[.]'

package: build
	@tools/install-deps.sh package
	cpack --config $(BUILD_DIR)/CPackConfig.cmake -B $(BUILD_DIR)/package

# make bench: a Release build with the benchmarks in build/bench, then the core, window and
# start-up benchmarks, each printing medians (the windows run offscreen), and the start-up of
# the real program against a bare Qt window on an X server of its own (Xvfb).
BENCH_DIR := build/bench
.PHONY: bench
bench:
	@tools/install-deps.sh bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DQUORVIN_BUILD_BENCH=ON \
	  -DQUORVIN_BUILD_TESTS=OFF
	cmake --build $(BENCH_DIR) -j2 --target core_bench window_bench startup_bench \
	  x11_startup_bench quorvin
	$(BENCH_DIR)/bench/core_bench --benchmark_out=$(BENCH_DIR)/core_bench.json
	QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bench/window_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bench/startup_bench
	$(BENCH_DIR)/bench/x11_startup_bench $(BENCH_DIR)/src/game_window/quorvin \
	  $(BENCH_DIR)/bench/startup_bench
