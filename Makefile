# The two commands: `make run` and `make test` (plus `make bench`).
JOBS ?= $(shell nproc)
RUN_DIR := build/run
TEST_DIR := build/test
BENCH_DIR := build/bench

.PHONY: run test bench deps check-layers format-check clean

deps:
	@scripts/install-deps

run: deps
	cmake -S . -B $(RUN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(RUN_DIR) -j $(JOBS)
	$(RUN_DIR)/bin/makedemo $(RUN_DIR)/bin
	cd $(RUN_DIR)/bin && ./musetra

test: deps check-layers format-check
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DMUSETRA_SANITIZE=ON -DMUSETRA_WERROR=$(if $(CI),ON,OFF) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BENCH_DIR) -j $(JOBS)
	scripts/run-benchmarks $(BENCH_DIR)

check-layers:
	@scripts/check-layers

format-check:
	@scripts/check-format

clean:
	rm -rf build
