BUILD := build
JOBS  := $(shell nproc)

.PHONY: run test build deps clean

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

clean:
	rm -rf $(BUILD)
