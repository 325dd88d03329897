# The two set-up commands of the README: `make test` and `make run`.
PRESET ?= dev
ifdef CI
PRESET := ci
endif
BUILD_DIR := build/$(PRESET)

.PHONY: deps configure build test test-tsan run clean

deps:
	scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

# The serial worker's tests under ThreadSanitizer; only what they need is built.
test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan --target serial_tests
	ctest --preset tsan -L serial

clean:
	rm -rf build
