# The two commands: `make run` and `make test` (plus `make tsan` and `make bench`).
JOBS ?= $(shell nproc)
RUN_DIR := build/run
TEST_DIR := build/test
TSAN_DIR := build/tsan
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test tsan bench fuzz deps check-layers format-check clean

deps:
	@scripts/install-deps

# Only what runs: the program, its on-screen keyboard and the demo library's maker.
run: deps
	cmake -S . -B $(RUN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMUSETRA_TESTS=OFF -DMUSETRA_BENCH=OFF >/dev/null
	cmake --build $(RUN_DIR) -j $(JOBS) --target musetra musosk makedemo
	$(RUN_DIR)/bin/makedemo $(RUN_DIR)/bin
	cd $(RUN_DIR)/bin && ./musetra

test: deps check-layers format-check
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DMUSETRA_SANITIZE=ON -DMUSETRA_WERROR=$(if $(CI),ON,OFF) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

# The tests whose code runs worker threads, built with ThreadSanitizer (-O1 keeps them quick).
tsan: deps
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DMUSETRA_TSAN=ON \
		-DMUSETRA_BENCH=OFF -DMUSETRA_WERROR=$(if $(CI),ON,OFF) >/dev/null
	cmake --build $(TSAN_DIR) -j $(JOBS) --target threaded_tests
	cd $(TSAN_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DMUSETRA_TESTS=OFF >/dev/null
	cmake --build $(BENCH_DIR) -j $(JOBS)
	scripts/run-benchmarks $(BENCH_DIR)

fuzz:
	@scripts/install-deps --fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMUSETRA_FUZZ=ON \
		-DMUSETRA_SANITIZE=ON -DMUSETRA_TESTS=OFF -DMUSETRA_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_peresources fuzz_themetext fuzz_id3 fuzz_coverrecords \
		fuzz_covers fuzz_settings fuzz_settingsfile fuzz_textlines fuzz_playlog makeseeds
	$(FUZZ_DIR)/bin/makeseeds $(FUZZ_DIR)/seeds
	scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

check-layers:
	@scripts/check-layers

format-check:
	@scripts/check-format

clean:
	rm -rf build
