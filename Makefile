# A thin front over CMake: every target first installs what is missing.
PRESET ?= default
BUILD := build/$(PRESET)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) --parallel $(JOBS)

test: build
	ctest --preset $(PRESET) --parallel $(JOBS)

run: build
	$(BUILD)/app/catch-the-moxel

clean:
	rm -rf build
