# make run   install what is missing, build, and show the program under Wine
# make test  install what is missing, build, and run every test under Wine
# make bench install what is missing, build, and measure the program against its floor
BUILD ?= build

.PHONY: all setup build run test bench clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@mkdir -p $(BUILD)
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >$(BUILD)/configure.log 2>&1 \
		|| { cat $(BUILD)/configure.log; exit 1; }
	@cmake --build $(BUILD) -j2

run: build
	@scripts/run.sh $(BUILD)

test: build
	@scripts/with-wine.sh ctest --test-dir $(BUILD) --output-on-failure

bench: build
	@scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
