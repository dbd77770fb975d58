# Front door for players and developers; CMake does the real work.
#   make run    installs what is missing, builds the game and starts it
#   make test   installs what is missing, builds and runs every test, plain and with sanitizers
#   make package  builds a .deb of the game in the build folder
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan

.PHONY: run test check sanitize deps build bench clean package

deps:
	@tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/trailerdash

# The plain build's tests.
check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests with AddressSanitizer and UndefinedBehaviorSanitizer; benchmarks stay out.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTD_SANITIZE=ON -DTD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

test: check sanitize

# The package installs under /usr, so the program finds its pictures in /usr/share/trailerdash.
package: build
	cd $(BUILD) && cpack -G DEB

# Timings as ratios measured side by side; bench/README.md has the figures.
bench: build
	$(BUILD)/bench/bench_physics
	$(BUILD)/bench/bench_race
	$(BUILD)/bench/bench_scale

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
