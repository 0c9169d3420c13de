# The README's two commands: `make run` and `make test`. Both set up a fresh Debian machine first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev pkg-config \
            libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev wget \
            qt6-base-dev libssl-dev xvfb xauth xdotool poppler-utils desktop-file-utils \
            fonts-liberation imagemagick python3

CONFIGURE = cmake -S . -G Ninja -Wno-dev

.PHONY: all deps build program run screenshots test unit asan fuzz bench format clean

all: build

# Installs only what is missing, so a prepared machine does not touch the network.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	$(CONFIGURE) -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGL_WERROR=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# `make run` starts the desktop program where there is a display, and otherwise shows the command
# line's run of the bundled samples.
DISPLAY_AT_HAND := $(if $(DISPLAY)$(WAYLAND_DISPLAY),yes)

# Only what `make run` runs: the program, the images, help pages and the sample briefs. The
# tests, benchmarks and fuzz targets are built by `make test`.
program: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target gleaner gl_resources gl_sample_briefs \
	  $(if $(DISPLAY_AT_HAND),gleaner-light)

run: program
ifeq ($(DISPLAY_AT_HAND),yes)
	$(BUILD)/bin/gleaner-light
else
	@scripts/run.sh $(BUILD)
endif

# The pictures of docs/: the desktop program under Xvfb.
screenshots: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target gleaner gleaner-light gl_resources gl_sample_briefs
	scripts/screenshots.sh $(BUILD) docs

unit: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	$(CONFIGURE) -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGL_WERROR=ON -DGL_SANITIZE=ON -DGL_BENCH=OFF -DGL_UI=OFF

# The Qt-free libraries' tests and the fuzz corpora again, under AddressSanitizer and UBSan.
asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: unit asan

$(FUZZ_BUILD)/build.ninja: | deps
	CXX=clang++ $(CONFIGURE) -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGL_FUZZ=ON -DGL_BENCH=OFF -DGL_UI=OFF

# Runs every fuzz target for FUZZ_SECONDS, growing a scratch copy of its seed corpus.
fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for bin in $(FUZZ_BUILD)/bin/fuzz_*; do \
	  name=$${bin##*/fuzz_}; work=$(FUZZ_BUILD)/corpus/$$name; mkdir -p $$work; \
	  echo "== $$name"; \
	  $$bin -max_total_time=$(FUZZ_SECONDS) -max_len=65536 $$work fuzz/corpus/$$name || exit 1; \
	done

$(BENCH_BUILD)/build.ninja: | deps
	$(CONFIGURE) -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release

bench: deps $(BENCH_BUILD)/build.ninja
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for bin in $(BENCH_BUILD)/bin/bench_*; do echo "== $${bin##*/}"; $$bin || exit 1; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
