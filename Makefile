# Quillomar: the entry points a developer or CI types.
#   make test   bootstrap if needed, build both trees, run every test
#   make play   build and start the game under Wine
#   make bench  run the benchmarks (host tree)
#   make fuzz   run every fuzz target for a bounded time
#   make dist   build the release zip build/Quillomar-1.0-win32.zip (and build/SHA256SUMS)
#               from build/win32/dist, binaries stripped, the same bytes from every build
SHELL := /bin/bash
.PHONY: all bootstrap host win32 test test-host test-win32 bench fuzz play dist clean

all: host win32

bootstrap:
	@scripts/bootstrap

host: bootstrap
	@cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/host

win32: bootstrap
	@cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake >/dev/null
	@cmake --build build/win32

test-host: host
	ctest --test-dir build/host --output-on-failure -j2

test-win32: win32
	scripts/run-win32-tests

test: test-host test-win32

bench: host
	scripts/run-benchmarks

fuzz: bootstrap
	scripts/run-fuzzers

play: win32
	scripts/play

dist: win32
	scripts/make-dist build/win32/dist build/Quillomar-1.0-win32.zip

clean:
	rm -rf build
