# The two commands users need: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
SANITIZE ?= 0
JOBS ?= $(shell nproc)
BUILD_TYPE ?= RelWithDebInfo

DEB_PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev \
                libbenchmark-dev fonts-wqy-microhei fonts-dejavu-core

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@missing=""; for p in $(DEB_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    if [ "$$(id -u)" = 0 ]; then \
	        echo "Installing:$$missing"; \
	        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	    else \
	        echo "Korvax needs these Debian packages. Run:"; \
	        echo "  sudo apt-get install -y$$missing"; \
	        exit 1; \
	    fi; \
	fi

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    $(if $(filter 1,$(SANITIZE)),-DKORVAX_SANITIZE=ON -DKORVAX_BENCH=OFF,) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/bin/korvax

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bin/bench/*; do echo "== $$(basename $$b)"; $$b || exit 1; done

clean:
	@rm -rf $(BUILD_DIR)
