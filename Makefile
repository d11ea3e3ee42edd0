# The two commands: `make run` and `make test`. Each installs what it needs, configures and builds.
# Every build here is one of CMakePresets.json's (warnings as errors, through ccache), in the
# folder named below.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

ASAN_DIR ?= build-asan
WINDOWS_DIR ?= build-windows
# Wine of its own in the build folder, quiet, and without offering to install Mono or Gecko.
WINE_ENV = WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  DISPLAY=
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
QUERY_FUZZ_SECONDS ?= 30
MIMEAPPS_FUZZ_SECONDS ?= 30

.PHONY: all deps configure build package run test test-asan test-windows bench format format-check tidy clean fuzz-build fuzz-replay fuzz

all: build

deps:
	scripts/install-deps

configure: deps
	cmake --preset dev -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR)

# The two Debian packages, quillet-cli and quillet, in the build folder.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Opens the bundled sample in the window. Without a display, lists it in the terminal instead
# (the list is Windows-1252 text, shown in the terminal's UTF-8).
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/bin/quillet samples/sample.fob; \
	else \
	  echo "No display here, so no window: the listing of samples/sample.fob follows."; \
	  $(BUILD_DIR)/bin/quillet-cli list samples/sample.fob | iconv -f WINDOWS-1252 -t UTF-8; \
	fi

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

# The whole suite, widget tests included, under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake --preset asan -B $(ASAN_DIR)
	cmake --build $(ASAN_DIR)
	cd $(ASAN_DIR) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j2

# The core and its unit tests built for Windows with MinGW-w64 and run under Wine. There is no Qt
# for Windows here, so the window and quillet-cli are not built.
test-windows: deps
	cmake --preset windows -B $(WINDOWS_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(WINDOWS_DIR) --target quillet_unit_tests quillet-gen quillet_resources
	$(WINE_ENV) wineboot --init >/dev/null 2>&1
	cd $(WINDOWS_DIR) && $(WINE_ENV) ctest --output-on-failure; \
	  status=$$?; $(WINE_ENV) wineserver --wait; exit $$status

# The Google Benchmarks, then the command line against grep over the same files (made once in
# BENCH_WORK). Figures for a note come from a Release build: make bench BUILD_DIR=build-release
# BUILD_TYPE=Release.
BENCH_WORK ?= $(BUILD_DIR)/bench-files
bench: build
	$(BUILD_DIR)/bin/quillet_bench
	$(BUILD_DIR)/bin/quillet_output_bench
	$(BUILD_DIR)/bin/quillet_ui_bench
	$(BUILD_DIR)/bin/quillet_print_bench
	$(BUILD_DIR)/bin/quillet_cli_bench
	bench/cli-vs-grep --cli $(BUILD_DIR)/bin/quillet-cli --gen $(BUILD_DIR)/bin/quillet-gen \
	  --work $(BENCH_WORK)

# The reader under libFuzzer, with a table of 64 objects so the fuzzer reaches its limit.
fuzz-build: deps
	cmake --preset fuzz -B $(FUZZ_DIR)
	cmake --build $(FUZZ_DIR)
	fuzz/make-seeds $(FUZZ_DIR)/bin/quillet-gen $(FUZZ_DIR)/seeds

# Runs every seed and every input that once crashed them, once: the reader's, the filter's, then
# the mimeapps.list editor's.
fuzz-replay: fuzz-build
	$(FUZZ_DIR)/bin/object_file_fuzzer -runs=0 $(FUZZ_DIR)/seeds fuzz/regressions
	$(FUZZ_DIR)/bin/row_query_fuzzer -runs=0 fuzz/query-seeds fuzz/query-regressions
	$(FUZZ_DIR)/bin/mimeapps_list_fuzzer -runs=0 fuzz/mimeapps-seeds fuzz/mimeapps-regressions

fuzz: fuzz-replay
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/bin/object_file_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	  -print_final_stats=1 $(FUZZ_DIR)/corpus $(FUZZ_DIR)/seeds
	mkdir -p $(FUZZ_DIR)/query-corpus
	$(FUZZ_DIR)/bin/row_query_fuzzer -max_total_time=$(QUERY_FUZZ_SECONDS) -max_len=4096 \
	  -dict=fuzz/query.dict -print_final_stats=1 $(FUZZ_DIR)/query-corpus fuzz/query-seeds
	mkdir -p $(FUZZ_DIR)/mimeapps-corpus
	$(FUZZ_DIR)/bin/mimeapps_list_fuzzer -max_total_time=$(MIMEAPPS_FUZZ_SECONDS) -max_len=8192 \
	  -dict=fuzz/mimeapps.dict -print_final_stats=1 $(FUZZ_DIR)/mimeapps-corpus fuzz/mimeapps-seeds

format:
	clang-format -i $(SOURCES)

# clang-tidy over every source the build compiles (.clang-tidy says which checks); any finding
# fails it.
tidy: build
	run-clang-tidy -p $(BUILD_DIR) -quiet -j $$(nproc) '$(CURDIR)/(src|tests|bench|fuzz|tools)/'

format-check:
	@echo "clang-format --dry-run --Werror: $(words $(SOURCES)) files"
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD_DIR)
