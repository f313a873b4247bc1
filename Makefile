# Thin wrapper around CMake and the project's scripts. Every target installs what it needs.
BUILD ?= build

.PHONY: all deps build demo test bench stations sanitize clean

all: build

deps:
	bash scripts/install-deps

build: deps
	bash scripts/build "$(BUILD)"

# Builds the plug-in and shows what it does, on built-in defaults.
demo: build
	bash scripts/demo "$(BUILD)"

# Builds and runs every test.
test: build
	cd "$(BUILD)" && ctest --output-on-failure

bench: build
	bash scripts/bench "$(BUILD)"

# Regenerates the six station recordings in resources/ (they are committed).
stations: build
	"$(BUILD)/tools/stations/station-generator" resources

clean:
	rm -rf "$(BUILD)"

# AddressSanitizer + UndefinedBehaviorSanitizer tests, a bounded fuzz run, ThreadSanitizer concurrency test.
sanitize: deps
	bash scripts/sanitize all
