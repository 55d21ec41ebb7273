# The commands of the README. Each installs what is missing first, so a fresh
# Debian 12 machine needs nothing else.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-core monkey sanitize fuzz-smoke format format-check bench package clean

all: build

deps:
	@./scripts/install-deps.sh

# Warnings are errors here and in CI; a plain cmake build keeps them warnings.
$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DTARVELIS_WERROR=ON

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/tarvelis

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# A seeded random player on the real game under Xvfb for MONKEY_SECONDS; kept
# out of `make test` so that the suite stays quick.
MONKEY_SEED ?= 1
MONKEY_SECONDS ?= 75
monkey: build
	tests/monkey/monkey.sh $(BUILD) $(MONKEY_SEED) $(MONKEY_SECONDS)

test-core: build
	cd $(BUILD) && ctest --output-on-failure -L core -j $(JOBS)

# The core tests and a checked simulation under AddressSanitizer and
# UndefinedBehaviorSanitizer, in a Debug build with assertions on.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVELIS_WERROR=ON \
	  -DTARVELIS_SANITIZE=ON -DTARVELIS_BUILD_UI=OFF -DTARVELIS_BUILD_BENCH=OFF \
	  -DTARVELIS_BUILD_SERVER=OFF -DTARVELIS_BUILD_WEB=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -L core -j $(JOBS)
	$(ASAN_BUILD)/src/tarvelis-sim --matches 100 --seed 11 --vary-rules --check --json

# The fuzz targets, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, each run for FUZZ_SECONDS on a seed corpus made
# by the simulator of the same build.
fuzz-smoke: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTARVELIS_FUZZ=ON \
	  -DTARVELIS_BUILD_UI=OFF -DTARVELIS_BUILD_TESTS=OFF -DTARVELIS_BUILD_BENCH=OFF \
	  -DTARVELIS_BUILD_SERVER=OFF -DTARVELIS_BUILD_WEB=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	./scripts/fuzz-corpus.sh $(FUZZ_BUILD)/src/tarvelis-sim $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/tests/fuzz/fuzz_state_file -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_BUILD)/corpus/state
	$(FUZZ_BUILD)/tests/fuzz/fuzz_history -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_BUILD)/corpus/history
	mkdir -p $(FUZZ_BUILD)/corpus/messages && cp tests/fuzz/messages/* $(FUZZ_BUILD)/corpus/messages/
	$(FUZZ_BUILD)/tests/fuzz/fuzz_message -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_BUILD)/corpus/messages
	mkdir -p $(FUZZ_BUILD)/corpus/server_messages && \
	  cp tests/fuzz/server_messages/* $(FUZZ_BUILD)/corpus/server_messages/
	$(FUZZ_BUILD)/tests/fuzz/fuzz_remote_table -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_BUILD)/corpus/server_messages
	mkdir -p $(FUZZ_BUILD)/corpus/room_messages && \
	  cp tests/fuzz/room_messages/* $(FUZZ_BUILD)/corpus/room_messages/
	$(FUZZ_BUILD)/tests/fuzz/fuzz_room -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_BUILD)/corpus/room_messages

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check: deps
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
