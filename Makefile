# The two set-up commands of the README: `make test` and `make run`.
PRESET ?= dev
ifdef CI
PRESET := ci
endif
BUILD_DIR := build/$(PRESET)

.PHONY: deps configure build test run clean

deps:
	scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

clean:
	rm -rf build
