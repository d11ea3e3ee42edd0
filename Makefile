# The two commands: `make run` and `make test`. Each installs what it needs, configures and builds.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps configure build run test bench format format-check clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR)

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

bench: build
	$(BUILD_DIR)/bin/quillet_bench

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD_DIR)
