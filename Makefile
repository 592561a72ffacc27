# The two commands of the Quick start, and the benchmarks.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# A compiler cache, when the machine has one, makes rebuilds in several
# work trees cheap; the build never needs it.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
DEMO_DIR ?= $(BUILD_DIR)/demo
SANITIZE_DIR ?= build-sanitize
THREAD_DIR ?= build-thread
FUZZ_DIR ?= build-fuzz
# Seconds each fuzz target runs in make fuzz.
FUZZ_SECONDS ?= 180
# A finding of either sanitizer fails the test that made it.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps build run test test-sanitize test-thread fuzz bench demo package package-check clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
	cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	@if ! ls $(DEMO_DIR)/*.oxa >/dev/null 2>&1; then \
	  $(BUILD_DIR)/bin/orxtool make-demo --out $(DEMO_DIR); \
	fi

run: demo
	@scripts/run-viewer.sh $(BUILD_DIR) $(DEMO_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, orx-viewer_<version>_<arch>.deb in $(BUILD_DIR), from
# the build as it stands.
package: build
	cd $(BUILD_DIR) && cpack

# What CI checks of the package: lintian, its contents, and the tool run
# from the package unpacked.
package-check: package
	scripts/check-package.sh $(BUILD_DIR)

# The whole suite built with -fsanitize=address,undefined in its own folder.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORX_SANITIZE=ON \
	  -DORX_BUILD_BENCH=OFF $(LAUNCHER)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) \
	  ctest --output-on-failure -j $(JOBS)

# The whole suite built with -fsanitize=thread in its own folder: the
# frames decoded ahead on worker threads. A race fails the test that made it.
test-thread: deps
	cmake -S . -B $(THREAD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORX_THREAD_SANITIZE=ON \
	  -DORX_BUILD_BENCH=OFF $(LAUNCHER)
	cmake --build $(THREAD_DIR) -j $(JOBS)
	cd $(THREAD_DIR) && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp \
	  ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, from the seeds in fuzz/seeds; a
# crasher is copied into fuzz/seeds/crashers, so make test replays it.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORX_FUZZ=ON -DORX_BUILD_TESTS=OFF -DORX_BUILD_BENCH=OFF $(LAUNCHER)
	cmake --build $(FUZZ_DIR) --target orx_fuzzers -j $(JOBS)
	fuzz/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: demo
	$(BUILD_DIR)/bin/bench_reader
	$(BUILD_DIR)/bin/bench_timeline
	$(BUILD_DIR)/bin/bench_decode
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_cell_paint
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_cell_quality
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_playback
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_export
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_realtime $(DEMO_DIR)
	$(BUILD_DIR)/bin/bench_export_tool

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(THREAD_DIR) $(FUZZ_DIR)
