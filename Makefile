# Two commands for a newcomer: `make run` and `make test`. Each installs only what it needs first.
BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
DIST         ?= dist
FUZZ_SECONDS ?= 30
GENERATOR    ?= Ninja

.PHONY: all build run test sanitize fuzz bench package package-check clean

all: build

# Configured once, with only what `make run` needs; the targets that need more switch it on in
# the cache. After that the build itself re-runs CMake when a CMakeLists.txt changes.
$(BUILD)/CMakeCache.txt:
	@cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DBUILD_TESTING=OFF -DMORVANE_BENCH=OFF > /dev/null

# Switches a build option on in $(BUILD), re-running CMake only when it is off.
enable = grep -q '^$(1):BOOL=ON' $(BUILD)/CMakeCache.txt || \
	cmake -S . -B $(BUILD) -D$(1)=ON > /dev/null

build:
	@scripts/bootstrap run test
	@$(MAKE) --no-print-directory $(BUILD)/CMakeCache.txt
	@$(call enable,BUILD_TESTING)
	@cmake --build $(BUILD)

# Opens the window (needs a display).
run:
	@scripts/bootstrap run
	@$(MAKE) --no-print-directory $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) --target morvane morvane-cli
	$(BUILD)/app/morvane

# The whole suite: the ordinary build, then the unit tests again under ASan and UBSan.
test: build
	ctest --test-dir $(BUILD) --output-on-failure
	@$(MAKE) --no-print-directory sanitize

sanitize:
	@scripts/bootstrap test
	@cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=ON > /dev/null
	@cmake --build $(ASAN_BUILD)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -LE e2e

# Every fuzz target for FUZZ_SECONDS under ASan and UBSan, built with clang; fails on any finding.
fuzz:
	@scripts/bootstrap fuzz
	@CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G $(GENERATOR) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_FUZZ=ON > /dev/null
	@cmake --build $(FUZZ_BUILD)
	fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench:
	@scripts/bootstrap bench
	@$(MAKE) --no-print-directory $(BUILD)/CMakeCache.txt
	@$(call enable,MORVANE_BENCH)
	@cmake --build $(BUILD) --target morvane-bench morvane-batch-bench morvane-cli morvane
	$(BUILD)/bench/morvane-bench
	$(BUILD)/bench/morvane-batch-bench
	bench/cli_batch.sh $(BUILD)/cli/morvane-cli
	bench/window_startup.sh $(BUILD)/app/morvane
	bench/handshake_startup.sh $(BUILD)/app/morvane

# The Debian packages morvane and morvane-simulators, built from a copy of the source tree and
# written to $(DIST)/, then checked with lintian.
package:
	@scripts/bootstrap package
	@packaging/build-packages.sh $(DIST)

# The packages installed, used, upgraded and purged on a fresh Debian 12 root (root, network,
# several minutes).
package-check: package
	packaging/check-package.sh $(DIST)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(DIST)
