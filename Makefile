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
	windows test-windows windows-panel test-windows-panel clean

deps:
	scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)
	$(MAKE) --no-print-directory fuzz

# Runs each fuzz target: the protocol's for FUZZ_SECONDS, the readers of files and texts for
# FUZZ_READER_SECONDS each; new inputs go to build/fuzz/corpus/TARGET.
FUZZ_SECONDS ?= 25
FUZZ_READER_SECONDS ?= 5
# target, its folder under tests/, its seconds, the longest input (past the reader's bound)
FUZZ_RUNS = protocol:protocol:$(FUZZ_SECONDS):1024 \
	alarm_table:instrument:$(FUZZ_READER_SECONDS):4200 \
	register_file:instrument:$(FUZZ_READER_SECONDS):4200 \
	broker_url:mqtt:$(FUZZ_READER_SECONDS):1100 \
	panel_settings:cli:$(FUZZ_READER_SECONDS):4096
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	@for run in $(FUZZ_RUNS); do \
		set -- $$(echo $$run | tr : ' '); name=$$1; folder=$$2; seconds=$$3; longest=$$4; \
		seeds=tests/$$folder/fuzz_corpus; [ $$name = protocol ] || seeds=$$seeds/$$name; \
		log=build/fuzz/$$name.log; mkdir -p build/fuzz/corpus/$$name; \
		echo "fuzz_$$name for $$seconds s, log in $$log"; \
		build/fuzz/tests/$$folder/fuzz/fuzz_$$name -max_total_time=$$seconds -max_len=$$longest \
			-print_final_stats=1 build/fuzz/corpus/$$name $$seeds >$$log 2>&1 \
			|| { tail -n 60 $$log; exit 1; }; \
		grep -E '^Done|^stat::(number_of_executed_units|peak_rss_mb)' $$log; \
	done

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

# The panel for Windows in build/windows-panel, its folder and zip, against Qt for Windows built
# once into a cache outside the clone (a long build the first time); not yet part of CI.
windows-panel:
	scripts/install-deps.sh windows
	scripts/build-windows-panel.sh

# The panel's portable window tests under Wine, then control-panel.exe on COM5.
test-windows-panel: windows-panel
	cmake --preset core
	cmake --build --preset core --target vxxx-sim
	scripts/test-windows-panel.sh build/windows-panel build/core

clean:
	rm -rf build
