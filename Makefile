# The two commands of the README.
BUILD ?= build
JOBS  ?= $(shell nproc)

# CMake's own progress lines only: the makes it starts do not announce the
# folders they enter and leave.
MAKEFLAGS += --no-print-directory

.PHONY: run test bench build configure setup clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# The program and the files of its program folder; no test program.
build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./zolmiv

# The program and the test programs, then every test class. The build's own
# lines go to a log; only its errors and warnings are shown.
test: configure
	@echo "Building the program and the test programs (log: $(BUILD)/build.log)"
	@cmake --build $(BUILD) -j $(JOBS) --target all zoltests >$(BUILD)/build.log 2>&1; \
	  status=$$?; \
	  grep -v -E '^\[ *[0-9]+%\] ' $(BUILD)/build.log || true; \
	  exit $$status
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Timings of the stored-test windows on 100,000 tests, or ROWS (a development aid).
ROWS ?= 100000
bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target zolbench
	cd $(BUILD) && ./zolbench --rows $(ROWS)

clean:
	rm -rf $(BUILD)
