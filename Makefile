# The one entry point: `make test`, `make bench`, `make clean`.
BUILD_DIR ?= build
SANITIZE ?=
# A ctest regular expression: run only the tests whose names match it.
TESTS ?=
JOBS ?= $(shell nproc)

CONFIGURE = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release

.PHONY: deps build test bench clean

deps:
	scripts/install-deps.sh

build: deps
	$(CONFIGURE) -B $(BUILD_DIR) -DQUAVIX_SANITIZE=$(SANITIZE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) $(if $(TESTS),-R '$(TESTS)')

bench: deps
	$(CONFIGURE) -B build-bench -DQUAVIX_SANITIZE=
	cmake --build build-bench -j $(JOBS) --target benchmarks
	@for program in build-bench/bench/*_bench; do echo "== $$program"; $$program || exit 1; done

clean:
	rm -rf build build-*
