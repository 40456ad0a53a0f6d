# Two commands for a newcomer: `make run` and `make test`. Both install what they need first.
BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 30
GENERATOR    ?= Ninja

.PHONY: all bootstrap configure build run test test-unit sanitize fuzz bench package clean

all: build

bootstrap:
	@scripts/bootstrap

# Configured once; after that the build itself re-runs CMake when a CMakeLists.txt changes.
configure: bootstrap $(BUILD)/CMakeCache.txt

$(BUILD)/CMakeCache.txt:
	@cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD)

# Opens the window (needs a display).
run: build
	$(BUILD)/app/morvane

# The whole suite: the ordinary build, then the unit tests again under ASan and UBSan.
test: build
	ctest --test-dir $(BUILD) --output-on-failure
	@$(MAKE) --no-print-directory sanitize

sanitize: bootstrap
	@cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=ON > /dev/null
	@cmake --build $(ASAN_BUILD)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -LE e2e

# Every fuzz target for FUZZ_SECONDS under ASan and UBSan, built with clang; fails on any finding.
fuzz: bootstrap
	@CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G $(GENERATOR) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_FUZZ=ON > /dev/null
	@cmake --build $(FUZZ_BUILD)
	fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	$(BUILD)/bench/morvane-bench
	bench/cli_batch.sh $(BUILD)/cli/morvane-cli
	bench/window_startup.sh $(BUILD)/app/morvane

# The Debian packages morvane and morvane-simulators, written to $(BUILD)/.
package: build
	@cmake --build $(BUILD) --target package
	@ls $(BUILD)/*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
