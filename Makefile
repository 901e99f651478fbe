# Quick start:  make run  (install, build, start with the sample data file)
#               make test (install, build, run every test)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# Extra configure arguments, e.g. CMAKE_ARGS=-DKRV_WERROR=ON (CI).
CMAKE_ARGS ?=
SAMPLE := build/share/ovik-krv-tessel/Samples/Sample.krvc
PREFIX ?= /usr/local

.PHONY: all deps configure build run install test test-asan fuzz format format-check bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset default $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build --preset default -j $(JOBS)

# The program opens the sample from the user's own copy in Documents, as File > Open Sample Data
# File does.
run: build
	@if [ -f "$(SAMPLE)" ]; then build/bin/ovik-krv-tessel "$(CURDIR)/$(SAMPLE)"; else build/bin/ovik-krv-tessel; fi

install: build
	@cmake --install build --prefix "$(PREFIX)"

test: build
	@ctest --preset default -j $(JOBS)

test-asan: deps
	@cmake --preset asan $(CMAKE_ARGS) >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS (clang build in build-fuzz; see fuzz/README.md).
fuzz: deps
	@fuzz/run $(FUZZ_SECONDS)

format:
	@git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

format-check:
	@git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror

# Builds the benchmarks and runs the whole-run benchmark: one summary line per data source
# flavour and project size; its stages and yardsticks in build/bench_run.log.
bench: build
	@cmake --build --preset default --target benchmarks -j $(JOBS)
	@build/bin/bench_run > build/bench_run.log; status=$$?; \
	  grep '^summary:' build/bench_run.log; echo "(stages and yardsticks: build/bench_run.log)"; \
	  exit $$status

clean:
	@rm -rf build build-asan build-fuzz
