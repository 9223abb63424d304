# K27 — the two commands that do all the set-up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts K27 on the demo data
#   make test   installs what is missing, builds, runs every test headless
BUILD ?= build
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
JOBS := $(shell nproc)
# ccache, where installed, makes rebuilds in several checkouts cheap.
LAUNCHER := $(shell command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: deps configure build run test bench clean format format-check

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

# The code style (.clang-format), applied and checked.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD)
