# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
# BUILD may point elsewhere (several build folders side by side).
BUILD ?= build
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
FUZZ := $(BUILD)/fuzz
JOBS ?= $(shell nproc)
# Wine tests run side by side, each in its own prefix and X server: they spend
# much of their time waiting for timers and windows, so more run than cores.
WINE_JOBS ?= $(shell echo $$(( $$(nproc) * 4 )))
FUZZ_SECONDS ?= 30
CLANG_FORMAT ?= clang-format-14
FORMATTED := $(shell git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 2>/dev/null)

.PHONY: run test bootstrap native windows dist check-format check-layers format fuzz bench clean

run: bootstrap windows
	tools/run-app.sh "$(WINDOWS)/app"

test: bootstrap native windows check-format check-layers
	@echo "== native suite"
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	@echo "== Windows suite (Wine)"
	cd $(WINDOWS) && ctest --output-on-failure -j $(WINE_JOBS)

bootstrap:
	@tools/bootstrap.sh

# Line tables only: a failing test's backtrace still names files and lines, and
# the tree builds in two thirds of the time full debug information takes.
native:
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

windows:
	cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
	cmake --build $(WINDOWS) -j $(JOBS)

# The release: dist/Tackaroon-notes-<version>-win64.zip and its .sha256, the
# same bytes from the same sources.
dist: bootstrap windows
	cmake --build $(WINDOWS) --target dist

check-format:
	@echo "== formatting ($(CLANG_FORMAT))"
	@$(CLANG_FORMAT) --dry-run --Werror $(FORMATTED)

# Includes under src/ only point down the layers.
check-layers:
	@tools/check-layers.sh src

format:
	$(CLANG_FORMAT) -i $(FORMATTED)

fuzz: bootstrap
	cmake -S . -B $(FUZZ) -G Ninja -DTACKAROON_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	tools/run-fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

bench: bootstrap native windows
	cmake --build $(NATIVE) --target benchmarks -j $(JOBS)
	cmake --build $(WINDOWS) --target benchmarks -j $(JOBS)
	tools/run-bench.sh $(NATIVE)
	@echo "== bench_startup (Wine)"
	tools/with-display.sh tools/wine-run.sh $(WINDOWS)/bench_startup.exe
	@echo "== bench_history (Wine)"
	tools/with-display.sh tools/wine-run.sh $(WINDOWS)/bench_history.exe
	@echo "== bench_scribble (Wine)"
	tools/with-display.sh tools/wine-run.sh $(WINDOWS)/bench_scribble.exe

clean:
	rm -rf $(BUILD)
