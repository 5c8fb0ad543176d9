# Thin front door; CMake presets do the work.
.PHONY: all build build-linux build-windows build-release run test bench dist clean

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

build-release:
	scripts/bootstrap
	cmake --preset linux-release
	cmake --build --preset linux-release

run: build-linux
	scripts/run-linux

test: build
	scripts/run-tests

bench: build-release build-windows
	scripts/run-bench

dist: build-release build-windows
	scripts/make-dist

clean:
	rm -rf build
