BUILD := build
JOBS  := $(shell nproc)

.PHONY: run test build deps clean bench

deps:
	@sh scripts/setup-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@[ -f $(BUILD)/data/orbenta.db ] || $(BUILD)/salon-initdb $(BUILD)
	@cd $(BUILD) && ./salon

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Times the everyday actions on a large salon's data (generated once into
# $(BUILD)/bench-data and reused). Options: make bench BENCH_ARGS="--only salary".
bench: build
	@cd $(BUILD) && ./salon-benchmark $(BENCH_ARGS)

clean:
	rm -rf $(BUILD)
