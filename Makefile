# Thin wrapper over CMake. `make run` builds and starts the engine (UCCI on
# stdin/stdout); `make test` builds and runs every test.
JOBS ?= 2
BUILD ?= build/release
ASAN_BUILD ?= build/asan
# Extra CMake settings for the release build (CI: CMAKE_ARGS=-DTAVOX_WERROR=ON).
CMAKE_ARGS ?=

.PHONY: all build run test sanitize e2e soak fuzz bench perft signature clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/tavox

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOX_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Headless XBoard games against maxqi (tests/e2e/install_deps.sh installs the tools).
e2e: build
	sh tests/e2e/xboard_match.sh --engine $(BUILD)/tavox

# libFuzzer harnesses for the protocol, the data files and the notation reader
# (clang, installed by the script when missing): `make fuzz FUZZ_SECONDS=600`.
FUZZ_SECONDS ?= 60
fuzz:
	sh tests/fuzz/run.sh $(FUZZ_SECONDS)

# Protocol soak against maxqi, not run by CI: `make soak GAMES=200`.
GAMES ?= 200
soak: build
	sh tests/soak/soak.sh --games $(GAMES) --engine $(BUILD)/tavox

perft: build
	./$(BUILD)/tavox perft 5

bench: build
	./$(BUILD)/tavox bench

# Fails when the bench total or perft 5 differs from tests/signature/expected.txt.
signature: build
	sh tests/signature/check.sh $(BUILD)/tavox

clean:
	rm -rf build
