# make run   installs what is missing, builds, starts kbsim and the program under Wine
# make test  installs what is missing, builds, runs every test through CTest
# make build installs what is missing and builds
# make fuzz  builds the libFuzzer targets with clang (build-fuzz/) and runs each FUZZ_SECONDS (60)
# make package builds the program and packs it into $(BUILD)/Vendrel-Setup.exe (NSIS)
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: deps build test run bench fuzz clean package

deps:
	@bash scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j2

run: build
	@bash scripts/run $(BUILD)

bench: build
	@bash scripts/bench $(BUILD)

fuzz:
	@bash scripts/install-deps native
	@bash scripts/fuzz

package: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) --target windows
	@bash scripts/package $(BUILD)

clean:
	rm -rf $(BUILD)
