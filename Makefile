# The two commands of the README: `make run` and `make test`. Both install what they need first.
BUILD ?= build

.PHONY: deps configure build run test bench clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	./$(BUILD)/cli/tkcalc $(ARGS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

bench: build
	./$(BUILD)/bench/tk_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD)
