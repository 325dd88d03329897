# The two set-up commands of the README: `make test` and `make run`.
PRESET ?= dev
ifdef CI
PRESET := ci
endif
BUILD_DIR := build/$(PRESET)

.PHONY: deps configure build test test-tsan fuzz run clean

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

clean:
	rm -rf build
