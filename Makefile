# Front door of the build. `make` builds the native programs into build/native/,
# `make win32` and `make win64` cross-build the Windows programs into build/win32/ and
# build/win64/, `make test` builds and runs every test (plain, sanitized, each fuzz target
# over its corpus, and the Windows builds under Wine), `make fuzz` lets each fuzz target
# search (FUZZ_SECONDS each, default 60), `make demo` runs the tour.
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 60

.PHONY: all deps windows-deps native sanitize fuzz-targets win32 win64 test fuzz demo bench clean

all: native

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

windows-deps:
	@scripts/install-windows-deps.sh

# Each Windows build needs libcurl for its target, built once into the user's cache.
win32: windows-deps
	@scripts/build-windows-curl.sh i686-w64-mingw32
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)

win64: windows-deps
	@scripts/build-windows-curl.sh x86_64-w64-mingw32
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j $(JOBS)

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)

fuzz-targets: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

test: native sanitize fuzz-targets win32 win64
	ctest --preset native
	ctest --preset sanitize
	ctest --preset fuzz
	ctest --preset win32
	ctest --preset win64

fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz.sh

demo: native
	@scripts/demo.sh

# The Windows benchmark runs when Wine is there (scripts/install-windows-deps.sh).
bench: native
	@scripts/bench.sh
	@if [ -x /usr/lib/wine/wine64 ]; then \
	  $(MAKE) --no-print-directory win64 && /usr/bin/python3 bench/windows/run_bench.py build/win64; \
	else \
	  echo "Wine is not installed: the Windows benchmark is not run"; \
	fi

clean:
	rm -rf build
