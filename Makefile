# make run: install what is missing, build, start the program on its default home.
# make test: install what is missing, build, run every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench kill-test model-test clean install uninstall package help-pictures

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/app/quillory

# make install: the program, its menu entry, icons, manual page and completion under
# PREFIX (default /usr/local); DESTDIR stages them elsewhere, as packagers do.
# make uninstall removes what the last install put in place.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	@test -f $(BUILD_DIR)/install_manifest.txt || { echo "nothing installed from $(BUILD_DIR)"; exit 1; }
	xargs -d '\n' -I{} rm -f -- "$(DESTDIR){}" < $(BUILD_DIR)/install_manifest.txt

# make help-pictures: the manual's screenshots taken anew by the program under Xvfb
# (into data/help/images; the next build puts them into the help).
help-pictures: build
	cd $(BUILD_DIR) && QUILLORY_HELP_PICTURES=1 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
	    tests/person/person_tests --gtest_filter='HelpPictures.*'

# make package: the Debian package, in $(BUILD_DIR)/package.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/bench_xbase
	$(BUILD_DIR)/bench/bench_imports
	$(BUILD_DIR)/bench/bench_letters
	$(BUILD_DIR)/bench/bench_tools
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_sheet
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_reports
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_designer

# The kill test at length: KILLS writers killed per kind (8 kinds), default 40.
KILLS ?= 40
kill-test: build
	QT_QPA_PLATFORM=offscreen QUILLORY_KILLS=$(KILLS) $(BUILD_DIR)/tests/reliability/kill_tests

# The engine against its model at length: STEPS random steps per seed, over three fixed
# seeds, or over SEED alone when it is given (a failure prints the seed to repeat).
STEPS ?= 200000
model-test: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target model_tests
	QUILLORY_MODEL_STEPS=$(STEPS) $(if $(SEED),QUILLORY_MODEL_SEED=$(SEED)) $(BUILD_DIR)/tests/reliability/model_tests

clean:
	rm -rf $(BUILD_DIR)

# make test-sanitize: the whole build and every test with AddressSanitizer (leak checking
# on) and UndefinedBehaviorSanitizer, any finding fatal, in $(SAN_DIR). The suppressions
# name leaks of the system's libraries only (tests/sanitize/lsan.supp).
SAN_DIR ?= build-sanitize
.PHONY: test-sanitize
test-sanitize: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORY_SANITIZE=ON
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --output-on-failure -j $(JOBS)

# make fuzz: the fuzz targets, with clang and the sanitizers, in their own folder.
# make fuzz-run: runs each for FUZZ_SECONDS (default 60) and stops at the first finding.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: fuzz fuzz-run

fuzz:
	@bash scripts/install-deps.sh --fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -G Ninja -DQUILLORY_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz-run: fuzz
	bash scripts/fuzz-run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)
