# Quillan: the two everyday commands.
#   make run   installs what is missing, builds, runs Quillan
#   make test  installs what is missing, builds with sanitizers, runs every test
#   make presort-long  the presort property tests over 5,000 mailings per class code
#   make bench the benchmarks, built with full optimisation in a folder of their own, so that
#              neither `make run` nor `make bench` rebuilds the other's build
JOBS ?= 8
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
BENCH_BUILD_DIR ?= build-bench

.PHONY: deps run build test presort-long bench clean format x11-check

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLAN_TESTS=OFF >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/run-quillan $(BUILD_DIR)

test: deps
	@cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLAN_TESTS=ON -DQUILLAN_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j$(JOBS)
	@cd $(TEST_BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The real windows on an X server (Xvfb, xdotool): Exit and close while a sort works, under
# the sanitizer build, and a message box grabbed from the screen. Takes some minutes.
x11-check: deps
	@cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLAN_TESTS=ON -DQUILLAN_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j$(JOBS) --target quillan
	@scripts/x11-check $(TEST_BUILD_DIR)

# The presort property tests with 5,000 random mailings per class code (CI runs 200).
presort-long: deps
	@cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLAN_TESTS=ON -DQUILLAN_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j$(JOBS) --target presort_tests
	@cd $(TEST_BUILD_DIR) && QUILLAN_PRESORT_LISTS=5000 ./presort_tests --gtest_filter='*PresortProperties*'

bench: deps
	@cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DQUILLAN_TESTS=OFF -DQUILLAN_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD_DIR) -j$(JOBS)
	@scripts/run-benchmarks $(BENCH_BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(BENCH_BUILD_DIR)
