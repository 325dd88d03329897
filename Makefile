# The two set-up commands of the README: `make test` and `make run`.
PRESET ?= dev
ifdef CI
PRESET := ci
endif
BUILD_DIR := build/$(PRESET)

# `make run PORT=/dev/ttyUSB0` runs against a real instrument, otherwise the built-in simulator
# (MODEL=V420 for the other model).
PANEL_ARGUMENTS = $(if $(PORT),--port $(PORT),--simulate $(MODEL))

.PHONY: deps configure build test test-tsan test-core format format-check fuzz run run-dev package \
	windows test-windows clean

deps:
	scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)
	$(MAKE) --no-print-directory fuzz

# Runs the protocol fuzz target for FUZZ_SECONDS; new inputs go to build/fuzz/corpus.
FUZZ_SECONDS ?= 25
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	mkdir -p build/fuzz/corpus
	@echo "fuzz_protocol for $(FUZZ_SECONDS) s, log in build/fuzz/fuzz.log"
	@build/fuzz/tests/protocol/fuzz/fuzz_protocol -max_total_time=$(FUZZ_SECONDS) -max_len=1024 \
		-print_final_stats=1 build/fuzz/corpus tests/protocol/fuzz_corpus \
		>build/fuzz/fuzz.log 2>&1 || { tail -n 60 build/fuzz/fuzz.log; exit 1; }
	@grep -E '^Done|^stat::(number_of_executed_units|peak_rss_mb)' build/fuzz/fuzz.log

# The serial worker's tests under ThreadSanitizer; only what they need is built.
test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan --target serial_tests
	ctest --preset tsan -L serial

# The layers without Qt (serial, protocol, instrument rules, vxxx, simulator) with their tests.
test-core: deps
	cmake --preset core
	cmake --build --preset core
	ctest --preset core

# Every C++ file of the project in the committed style.
SOURCES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	clang-format -i $(SOURCES)
format-check: deps
	clang-format --dry-run --Werror $(SOURCES)

# The optimised panel.
run: deps
	cmake --preset release
	cmake --build --preset release --target control-panel
	build/release/src/app/control-panel $(PANEL_ARGUMENTS)

# The panel built with the sanitizers.
run-dev: build
	ASAN_OPTIONS=detect_leaks=0 $(BUILD_DIR)/src/app/control-panel $(PANEL_ARGUMENTS)

# The Debian package from the optimised build, in build/release.
package:
	scripts/install-deps.sh package
	cmake --preset release
	cmake --build --preset release --target deb

# The Windows build with Debian's mingw-w64, in build/windows: the layers without Qt, their tests,
# vxxx.exe and the zip of it with its manual.
windows:
	scripts/install-deps.sh windows
	cmake --preset windows
	cmake --build --preset windows

# The Windows build's tests under Wine, then vxxx.exe on COM5 against the Linux simulator (and
# the Linux vxxx, from the core build that `make test-core` leaves).
test-windows: windows
	cmake --preset core
	cmake --build --preset core --target vxxx-sim vxxx
	scripts/test-windows.sh build/windows build/core

clean:
	rm -rf build
