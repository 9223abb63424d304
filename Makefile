# K27 — the two commands that do all the set-up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts K27 on the demo data
#   make test   installs what is missing, builds, runs every test headless
BUILD ?= build
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps configure build run test bench clean

deps:
	$(SUDO) bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD)

run: build
	cd data/demo && ../../$(BUILD)/K27

test: build
	ctest --test-dir $(BUILD) --output-on-failure

bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
