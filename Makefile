# The two commands: `make run` starts the game, `make test` builds and runs every test headless.
# Both first install the Debian packages the build needs (tools/install-deps.sh).
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: run test build configure deps clean

run: build
	$(BUILD_DIR)/src/game_window/quorvin

test: build
	ctest --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

configure: deps
	cmake --preset $(PRESET)

deps:
	@tools/install-deps.sh

clean:
	rm -rf build
