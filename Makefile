# The two commands of the README: `make run` (tkdesk) and `make test`. Both install what they need first.
BUILD ?= build

.PHONY: deps configure build run mobile calc test test-sanitize fuzz bench clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD)

# The desktop calculator (needs a display; `xvfb-run make run` without one).
run: build
	./$(BUILD)/desktop/tkdesk

# The field calculator tkmobile, phone-sized (needs a display; its data in ~/.local/share/Trajekton-mobile):
# make mobile ARGS="--data-dir DIR" for another folder.
mobile: build
	./$(BUILD)/handheld/tkmobile $(ARGS)

# The command-line calculator: make calc ARGS="--table"
calc: build
	./$(BUILD)/cli/tkcalc $(ARGS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2
	$(MAKE) --no-print-directory test-sanitize
	$(MAKE) --no-print-directory fuzz
	$(MAKE) --no-print-directory test-windows

bench: build
	./$(BUILD)/bench/tk_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD)

# The tests once more, built with the address and undefined-behaviour sanitizers.
test-sanitize: deps
	@cmake -S . -B $(BUILD)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRAJEKTON_BENCH=OFF -DTRAJEKTON_GUI_TESTS=OFF \
	  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" > /dev/null
	@cmake --build $(BUILD)-sanitize
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --test-dir $(BUILD)-sanitize --output-on-failure -j2

# Every file reader under libFuzzer (clang, address and undefined-behaviour sanitizers), each for
# FUZZ_SECONDS (20) on the seed files in fuzz/corpus.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTRAJEKTON_FUZZ=ON -DTRAJEKTON_TESTS=OFF -DTRAJEKTON_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" > /dev/null
	@cmake --build $(BUILD)-fuzz --target fuzzers
	scripts/run-fuzzers.sh $(BUILD)-fuzz

# The setup folder to carry to the machine that should get the field calculator: tksetup and the
# package tkmobile.deb, in $(BUILD)/setup-folder. There, `./tksetup` opens the system's installer.
.PHONY: setup
setup: configure
	@cmake --build $(BUILD) --target setup_folder
	@ls -l $(BUILD)/setup-folder

# Windows: tkdesk.exe and tkcalc.exe cross-built with MinGW-w64 in build-windows (wxWidgets built once
# into ~/.cache/trajekton-win, TRAJEKTON_WIN_CACHE to put it elsewhere); the tests and tkdesk.exe under
# wine; the zip for Windows users in build-windows/dist.
.PHONY: windows test-windows dist-windows
windows:
	@scripts/build-windows.sh build
test-windows:
	@scripts/build-windows.sh test
dist-windows:
	@scripts/build-windows.sh dist
