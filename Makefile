# The two commands of the README: `make run` builds and starts the workbench, `make test` builds
# and runs every test (normal build, then the sanitizer build). Both first install the Debian
# packages that a fresh machine lacks.

PACKAGES := cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xvfb xauth \
            libcli11-dev libtomlplusplus-dev nlohmann-json3-dev \
            libxml2-utils python3-jsonschema node-tap-parser
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-asan bench fuzz clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=$$( [ "$$(id -u)" -eq 0 ] || echo sudo ); \
	  $$SUDO apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

# The window needs a display; without one, say how to get a virtual one instead of failing.
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found (DISPLAY is not set). To run the workbench on a virtual display:"; \
	  echo "  xvfb-run -a -s '-screen 0 1280x1024x24' ./build/shell/varnic"; \
	  echo "or log in with a desktop (or ssh -X) and run 'make run' again."; \
	else \
	  ./build/shell/varnic; \
	fi

test: build build-asan
	ctest --preset default -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: build
	@for b in build/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

# Each fuzz target runs FUZZ_SECONDS on a corpus seeded from the examples and the test programs.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@for t in build-fuzz/fuzz/fuzz_*; do \
	  name=$$(basename $$t); kind=$${name#fuzz_}; \
	  mkdir -p build-fuzz/corpus/$$kind; \
	  $$t -max_total_time=$(FUZZ_SECONDS) -max_len=16384 -timeout=10 -rss_limit_mb=4096 \
	    -artifact_prefix=build-fuzz/$$kind- build-fuzz/corpus/$$kind examples tests/cli/programs fuzz/regressions/$$kind \
	    || exit 1; \
	done

clean:
	rm -rf build build-asan build-fuzz
