# Front door of the build. `make` builds the native programs into build/native/,
# `make test` builds and runs every test (plain and sanitized, and each fuzz target over
# its corpus), `make fuzz` lets each fuzz target search (FUZZ_SECONDS each, default 60),
# `make demo` runs the tour.
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 60

.PHONY: all deps native sanitize fuzz-targets test fuzz demo bench clean

all: native

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)

fuzz-targets: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

test: native sanitize fuzz-targets
	ctest --preset native
	ctest --preset sanitize
	ctest --preset fuzz

fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz.sh

demo: native
	@scripts/demo.sh

bench: native
	@scripts/bench.sh

clean:
	rm -rf build
