# The two commands of the Quick start, and the benchmarks.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# A compiler cache, when the machine has one, makes rebuilds in several
# work trees cheap; the build never needs it.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
DEMO_DIR ?= $(BUILD_DIR)/demo

.PHONY: all deps build run test bench demo clean

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

bench: demo
	$(BUILD_DIR)/bin/bench_reader
	$(BUILD_DIR)/bin/bench_decode
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_cell_paint
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_playback
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/bench_realtime $(DEMO_DIR)

clean:
	rm -rf $(BUILD_DIR)
