# The two commands of the README. Both install what is missing first, so a
# fresh Debian 12 machine needs nothing else.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-core bench clean format

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/tarvelis

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-core: build
	cd $(BUILD) && ctest --output-on-failure -L core -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
