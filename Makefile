# Zorvik — convenience entry points. See README.md.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
# ccache, when installed, makes rebuilds in fresh folders cheap.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Paths below the checkout are hashed relative to it, so that clones and work trees share ccache's entries.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: all deps build run test sanitize fuzz bench screenshot format format-check install package clean

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

# Builds, then starts the program with the build folder (a complete install tree) as working folder.
run: build
	@bash tools/run.sh $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVIK_SANITIZE=ON -DZORVIK_BENCH=OFF $(LAUNCHER)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DZORVIK_FUZZ=ON -DZORVIK_TESTS=OFF -DZORVIK_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/bench/zorvik_*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/zorvik --screenshot docs/form.png

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# On Linux an FHS tree (bin/, share/zorvik/, the menu entry, icons, MIME type); see cmake/install.cmake.
install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

# The Debian package zorvik_<version>_<arch>.deb, built in $(BUILD) and copied here.
package: build
	cmake --build $(BUILD) --target package
	cp $(BUILD)/zorvik_*.deb .

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
