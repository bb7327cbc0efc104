# Lumora: make run | make test | make bench | make fuzz
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build build-asan run test test-normal test-asan bench fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DLUMORA_SANITIZE=ON -DLUMORA_BENCH=OFF $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Starts Lumora on the desktop (SDL window) with the simulated camera.
run: build
	LUMORA_DISPLAY=$${LUMORA_DISPLAY:-sdl} ./$(BUILD)/lumora

test-normal: build
	ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) -j $(JOBS) --output-on-failure

test: test-normal test-asan

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" --benchmark_min_time=0.2 || true; done

# Builds the fuzz drivers with clang and runs each for FUZZ_SECONDS; not part of `make test`.
fuzz: deps
	@scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS) $(JOBS) $(FUZZERS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
