# The project's commands. Each one sets up what it needs first.
SHELL := /bin/bash
BUILD := out/build
export top := $(CURDIR)

.PHONY: all bootstrap build test demo bench stress clean

all: build

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)

test: build
	@scripts/with_sound_server.sh ctest --test-dir $(BUILD) --output-on-failure $(CTEST_ARGS)

bench: build
	@cmake --build $(BUILD) --target gauge_bench
	@scripts/with_sound_server.sh scripts/wine_run.sh $(BUILD)/gauge_bench.exe Z:$(CURDIR)/dist/gauges Z:$(CURDIR)/out/bench/results.csv

stress: build
	@scripts/stress.sh

demo: build
	@scripts/demo.sh

clean:
	rm -rf out dist
