# Front door of the build. `make` builds the native programs into build/native/,
# `make test` builds and runs every test (plain and sanitized), `make demo` runs the tour.
JOBS ?= $(shell nproc)

.PHONY: all deps native sanitize test demo bench clean

all: native

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)

test: native sanitize
	ctest --preset native
	ctest --preset sanitize

demo: native
	@scripts/demo.sh

bench: native
	@scripts/bench.sh

clean:
	rm -rf build
