# SPDX-License-Identifier: GPL-3.0-or-later
# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test CI runs
# make install [PREFIX=/usr/local]  installs the programs, desktop entry, icons and manual pages
# make package  builds the Debian package in $(BUILD)/
JOBS    ?= $(shell nproc)
BUILD   ?= build
ASAN    ?= build-asan
FUZZ    ?= build-fuzz
BENCHB  ?= build-bench
FUZZ_SECONDS ?= 5
CMAKE_COMMON = -G Ninja -DSTRUKTUR_WERROR=ON

.PHONY: deps configure build run test unit asan fuzz print-e2e bench interop install package package-check clean

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/strukturkonstruktor

unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --label-exclude printer

print-e2e: build
	scripts/ensure-printer.sh
	cd $(BUILD) && ctest --output-on-failure --label-regex printer

$(ASAN)/build.ninja:
	cmake -S . -B $(ASAN) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DSTRUKTUR_SANITIZE=ON

asan: deps $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) --label-exclude 'printer|slow'

$(FUZZ)/build.ninja:
	CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTRUKTUR_FUZZ=ON

fuzz: deps $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS)
	scripts/run-fuzzers.sh $(FUZZ) $(FUZZ_SECONDS)

PREFIX ?= /usr/local

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB

package-check: build
	scripts/check-package.sh $(BUILD)

test: unit print-e2e asan fuzz package-check

$(BENCHB)/build.ninja:
	cmake -S . -B $(BENCHB) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRUKTUR_BENCH=ON

bench: deps $(BENCHB)/build.ninja
	cmake --build $(BENCHB) -j $(JOBS)
	scripts/run-benchmarks.sh $(BENCHB)

interop: build
	cd $(BUILD) && ctest --output-on-failure --label-regex interop

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(BENCHB)
