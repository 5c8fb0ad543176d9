# Thin front door; CMake presets do the work.
.PHONY: all build build-linux build-windows run test clean

all: build

build: build-linux build-windows

build-linux:
	scripts/bootstrap
	cmake --preset linux
	cmake --build --preset linux

build-windows:
	scripts/bootstrap
	cmake --preset windows
	cmake --build --preset windows

run: build-linux
	scripts/run-linux

test: build
	scripts/run-tests

clean:
	rm -rf build
