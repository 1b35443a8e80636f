# Vexel: the two everyday commands are `make run` and `make test`.
# Both install what is missing, configure build/ with CMake and Ninja, and build.

BUILD      ?= build
SAN_BUILD  ?= build-sanitize
CMAKE_ARGS ?=
JOBS       ?= $(shell nproc)

.PHONY: all deps configure build run test bench soak fuzz test-sanitize test-tsan install package test-package screenshots clean
SHELL := /bin/bash

all: build

deps:
	@scripts/install-deps

# The project's own builds treat warnings as errors; a build folder made
# before that switch existed gets it turned on here.
$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXEL_WERROR=ON $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja
	@grep -q '^VEXEL_WERROR:BOOL=ON$$' $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DVEXEL_WERROR=ON >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/vexel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

PREFIX ?= $(HOME)/.local

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, built by dpkg-buildpackage from a copy of the tree:
# $(PKG_BUILD)/vexel_<version>_<arch>.deb.
PKG_BUILD ?= build-package
VERSION   := $(shell grep -m1 -o 'project.Vexel VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)
DEB        = $(PKG_BUILD)/vexel_$(VERSION)_$(shell dpkg --print-architecture).deb

package: deps
	scripts/build-package $(PKG_BUILD)

# Needs root: installs the package on this machine, plays a user who saves
# the settings, and removes it again. Not part of make test.
test-package: package
	tests/install/run-package.sh $(DEB)

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXEL_SANITIZE=ON -DVEXEL_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -E e2e_window

# The tests that run the thinking thread (the thinker itself, and the window's
# hint, take back, new game and computer turns while it thinks), built with
# ThreadSanitizer. Reports inside Qt and the system libraries, which are not
# built with it, are suppressed in tests/tsan.supp; any other report fails.
TSAN_BUILD ?= build-tsan
TSAN_UI    := Thinker.*:MainWindowTest.Hint*:MainWindowTest.TheStrongestLevel*:MainWindowTest.TakeBack*:MainWindowTest.AllComputerGame*
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXEL_TSAN=ON -DVEXEL_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target ui_tests
	TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp halt_on_error=1 second_deadlock_stack=1" QT_QPA_PLATFORM=offscreen \
	  $(TSAN_BUILD)/bin/ui_tests --gtest_filter='$(TSAN_UI)'

# The pictures in docs/screenshots, made from the real program under its own
# Xvfb; make them again when the window, a dialog or the board changes look.
screenshots: build
	scripts/screenshots $(BUILD)/bin $(BUILD)/test-bin/vexel-screencheck docs/screenshots

bench: build
	$(BUILD)/bin/vexel-bench

# Long runs, one line per part; each part fails on its own findings.
soak: build
	tools/arena/soak.sh $(BUILD)/bin/vexel-arena
	QT_QPA_PLATFORM=offscreen VEXEL_MONKEY_EVENTS=20000 $(BUILD)/bin/ui_tests --gtest_filter='Monkey.*'

FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := $(basename $(notdir $(wildcard fuzz/*_fuzz.cpp)))

# Builds only the libFuzzer targets (with clang) and runs each for FUZZ_SECONDS
# on its own growing corpus. A crash, sanitizer report, leak or timeout fails
# the run; the input that caused it lands in $(FUZZ_BUILD)/artifacts and the
# full output in $(FUZZ_BUILD)/logs.
fuzz: deps
	@test -n "$(FUZZ_TARGETS)" || { echo "fuzz: no fuzz/*_fuzz.cpp"; exit 1; }
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DVEXEL_FUZZ=ON -DVEXEL_GUI=OFF -DVEXEL_WERROR=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	@status=0; mkdir -p $(FUZZ_BUILD)/artifacts $(FUZZ_BUILD)/logs; \
	for name in $(FUZZ_TARGETS); do \
	  corpus=$(FUZZ_BUILD)/corpus/$$name; log=$(FUZZ_BUILD)/logs/$$name.log; mkdir -p $$corpus; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  if $(FUZZ_BUILD)/bin/$$name -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	       -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$name- $$corpus >$$log 2>&1; then \
	    runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $$log); \
	    echo "$$name: $$runs inputs executed, no findings"; \
	  else \
	    echo "$$name: FAILED, full output in $$log"; \
	    grep -E -A25 '==ERROR|runtime error|deadly signal|SUMMARY|Test unit written' $$log | head -80; \
	    status=1; \
	  fi; \
	done; exit $$status

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD) $(PKG_BUILD)
