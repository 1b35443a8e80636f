# Vexel: the two everyday commands are `make run` and `make test`.
# Both install what is missing, configure build/ with CMake and Ninja, and build.

BUILD      ?= build
SAN_BUILD  ?= build-sanitize
CMAKE_ARGS ?=
JOBS       ?= $(shell nproc)

.PHONY: all deps configure build run test bench soak fuzz test-sanitize install clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/vexel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/vexel-bench

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
