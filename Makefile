# The two commands of the README.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: run test bench build setup clean

setup:
	@bash scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./zolmiv

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Timings of the stored-test windows on 100,000 tests, or ROWS (a development aid).
ROWS ?= 100000
bench: build
	cd $(BUILD) && ./zolbench --rows $(ROWS)

clean:
	rm -rf $(BUILD)
