# Thin wrapper around CMake and the project's scripts. Every target installs what it needs.
BUILD ?= build

.PHONY: all deps build demo test bench stations sanitize install uninstall clean

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

# For a musician: VST3 into ~/.vst3, LV2 into ~/.lv2, the standalone app into ~/.local/bin.
install: build
	bash scripts/install-user install "$(BUILD)"

uninstall:
	bash scripts/install-user uninstall "$(BUILD)"

clean:
	rm -rf "$(BUILD)"

# AddressSanitizer + UndefinedBehaviorSanitizer tests, a bounded fuzz run, ThreadSanitizer concurrency test.
sanitize: deps
	bash scripts/sanitize all
