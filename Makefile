# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench clean install

setup:
	scripts/setup

configure: setup
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	scripts/run-app $(BUILD)/bin/vantorel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	bench/run-all $(BUILD)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD)
