# K27 — the two commands that do all the set-up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts K27 on the demo data
#   make test   installs what is missing, builds, runs every test headless
# and the gates CI holds every change to (`make check` runs them all):
#   make format-check   the code style, checked with clang-format
#   make test           built with -Werror and the extended warnings
#   make fuzz-smoke     every fuzz target for a short while, crash inputs replayed
#   make check-asan     the tests under AddressSanitizer + UndefinedBehaviorSanitizer
# `make fuzz` fuzzes every target for a million executions (not part of check).
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
JOBS := $(shell nproc)
# ccache, where installed, makes rebuilds in several checkouts cheap.
LAUNCHER := $(shell command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Seconds each fuzz target runs in the smoke run; executions per target in
# the long run. The targets run side by side, FUZZ_JOBS at a time (default:
# one per processor); FUZZ_TARGETS="hy3 plugin" runs only those.
FUZZ_SMOKE_SECONDS ?= 20
FUZZ_RUNS ?= 1000000

# Tests that play real sound (label `audio`) stay out of the sanitizer run:
# they measure sound in real time, and under the sanitizers' slower timing
# they fail on their timing checks, and Qt's GStreamer back end now and then
# deadlocks. `make check-asan ASAN_CTEST_ARGS=` runs them too; the leak
# suppressions cover what the sound libraries keep. The checks of the build
# files (label `cmake`) and the install test compile nothing of their own
# that the sanitizers could watch, and ran in `make test`.
ASAN_CTEST_ARGS ?= -LE "audio|cmake|install"

# Every sanitizer report ends the process with an error, leaks included;
# the suppressions name the system libraries whose own one-time allocations
# or faults we cannot fix.
SAN_DIR := $(CURDIR)/scripts/sanitizers
SAN_ENV := \
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=$(SAN_DIR)/ubsan.supp \
  LSAN_OPTIONS=suppressions=$(SAN_DIR)/lsan.supp:print_suppressions=0

CHECK_STAGES := deps format-check test fuzz-smoke check-asan

.PHONY: deps configure build run test bench clean format format-check check check-asan fuzz-build fuzz-smoke fuzz

deps:
	$(SUDO) bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DK27_WERROR=ON $(LAUNCHER); fi

build: configure
	cmake --build $(BUILD)

# The first start gets the demo's settings (sounds, panel pictures, ticket
# plug-in); a settings file already beside K27 is kept as it is.
run: build
	$(BUILD)/tools/in4tool build data/demo/settings.json -o $(BUILD)/K27.in4 --keep
	cd data/demo && ../../$(BUILD)/K27

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	bash bench/run.sh $(BUILD)

# The code style (.clang-format), applied and checked with clang-format 14
# (another version formats some constructs differently).
CLANG_FORMAT := $(shell command -v clang-format-14 || echo clang-format)
format:
	git ls-files '*.cpp' '*.h' | xargs $(CLANG_FORMAT) -i
format-check:
	git ls-files '*.cpp' '*.h' | xargs $(CLANG_FORMAT) --dry-run --Werror

# Every gate, one after the other, with the time each took and the processor
# time it used (user + system, all processes; on a busy machine the wall
# time says little, the processor time divided by the cores much more).
check:
	@set -e; tick=$$(getconf CLK_TCK); \
	cpu() { awk '{ print $$16 + $$17 }' /proc/$$$$/stat; }; \
	for stage in $(CHECK_STAGES); do \
	  start=$$(date +%s); used=$$(cpu); \
	  $(MAKE) --no-print-directory $$stage || { echo "== $$stage FAILED"; exit 1; }; \
	  echo "== $$stage passed in $$(( $$(date +%s) - start )) s, processor $$(( ($$(cpu) - used) / tick )) s"; \
	done

# Clang, at -O1: quick to build, and the tests still run at a useful speed.
# Only what the tests run is built (k27_tests), not the tools and renderers.
check-asan: deps
	@if [ ! -f $(ASAN_BUILD)/build.ninja ]; then \
	  cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DCMAKE_CXX_COMPILER=clang++ -DK27_SANITIZE=address,undefined -DK27_BUILD_BENCH=OFF $(LAUNCHER); fi
	cmake --build $(ASAN_BUILD) --target k27_tests
	$(SAN_ENV) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) $(ASAN_CTEST_ARGS)

fuzz-build: deps
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then \
	  cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DK27_BUILD_FUZZ=ON $(LAUNCHER); fi
	cmake --build $(FUZZ_BUILD)

# The fuzzers take their sanitizer options from scripts/fuzz.sh, not from
# SAN_ENV: stack-use-after-return detection makes a fuzzer's memory grow with
# every input (1.3 GB after 650,000 inputs), until the run fails for memory.
fuzz-smoke: fuzz-build
	bash scripts/fuzz.sh smoke $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

fuzz: fuzz-build
	bash scripts/fuzz.sh long $(FUZZ_BUILD) $(FUZZ_RUNS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
