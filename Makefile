# Thin wrapper around CMake and the project's scripts. Every target installs what it needs,
# and no more: building and running the plug-in needs far less than testing it.
BUILD ?= build

.PHONY: all deps test-deps build build-all demo test unit bench stations sanitize format install uninstall clean

all: build

deps:
	bash scripts/install-deps build

test-deps:
	bash scripts/install-deps test

# The plug-in's formats and the command-line host.
build: deps
	bash scripts/build "$(BUILD)" plugin

# Everything, tests and benchmarks included.
build-all: test-deps
	bash scripts/build "$(BUILD)" all

# Builds the plug-in and shows what it does, on built-in defaults.
demo: build
	bash scripts/demo "$(BUILD)"

# Builds and runs every test, after checking the format of every source file.
test: build-all
	bash scripts/check-format
	cd "$(BUILD)" && ctest --output-on-failure

# The fast tests alone: the plug-in's code in process, seconds.
unit: build-all
	cd "$(BUILD)" && ctest -L unit --output-on-failure -j2

bench: build-all
	bash scripts/bench "$(BUILD)"

# Regenerates the six station recordings in resources/ (they are committed).
stations: build-all
	"$(BUILD)/tools/stations/station-generator" resources

# Fails, listing them, when source files differ from .clang-format.
format: test-deps
	bash scripts/check-format

# For a musician: VST3 into ~/.vst3, LV2 into ~/.lv2, the standalone app into ~/.local/bin.
install: build
	bash scripts/install-user install "$(BUILD)"

uninstall:
	bash scripts/install-user uninstall "$(BUILD)"

clean:
	rm -rf "$(BUILD)"

# AddressSanitizer + UndefinedBehaviorSanitizer tests, a bounded fuzz run, ThreadSanitizer concurrency test.
sanitize: test-deps
	bash scripts/sanitize all
