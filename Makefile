# The one entry point: `make run`, `make test`, `make bench`, `make fuzz`,
# `make clean`.
BUILD_DIR ?= build
SANITIZE ?=
# A ctest regular expression: run only the tests whose names match it.
TESTS ?=
JOBS ?= $(shell nproc)

CONFIGURE = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release

# The tune `make run` plays.
TUNE ?= $(BUILD_DIR)/tunes/demo.sid

.PHONY: deps configure build run test bench clean

deps:
	scripts/install-deps.sh

configure: deps
	$(CONFIGURE) -B $(BUILD_DIR) -DQUAVIX_SANITIZE=$(SANITIZE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quavix tunes
	$(BUILD_DIR)/src/app/quavix $(TUNE)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) $(if $(TESTS),-R '$(TESTS)')

bench: deps
	$(CONFIGURE) -B build-bench -DQUAVIX_SANITIZE=
	cmake --build build-bench -j $(JOBS) --target benchmarks
	@for program in build-bench/bench/*_bench; do echo "== $$program"; $$program || exit 1; done

# Each libFuzzer target runs FUZZ_SECONDS on its seeds in fuzz/corpus; what
# it finds new goes to build-fuzz/corpus, so the repository's seeds stay small.
FUZZ_SECONDS ?= 60

.PHONY: fuzz
fuzz: deps
	$(CONFIGURE) -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DQUAVIX_SANITIZE=address -DQUAVIX_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	@for program in build-fuzz/fuzz/*_fuzz; do \
		name=$$(basename $$program); echo "== $$name"; mkdir -p build-fuzz/corpus/$$name; \
		$$program -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
			-artifact_prefix=build-fuzz/$$name- build-fuzz/corpus/$$name fuzz/corpus/$$name \
			|| exit 1; \
	done

clean:
	rm -rf build build-*
