# The two commands of the README: `make run` builds and starts the workbench, `make test` builds
# and runs every test (normal build, sanitizer build, then the WebAssembly build with its tests
# under node and in a headless browser). Both first install the Debian packages that a fresh
# machine lacks. `make web` builds the browser version, `make web-serve` serves it on localhost.
# `make package` makes the Debian package build/package/casl2-workbench_VERSION_ARCH.deb.

PACKAGES := cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xvfb xauth \
            libcli11-dev libtomlplusplus-dev nlohmann-json3-dev \
            libxml2-utils python3-jsonschema node-tap-parser
# Making the Debian package (`make package`) and its tests in the suite: lintian, the validators
# of the desktop entry, metainfo and file type, and what an installed package is used with.
PACKAGING_PACKAGES := dpkg-dev file lintian appstream desktop-file-utils shared-mime-info \
                      man-db bash-completion x11-utils xdotool libglib2.0-bin
# The browser version is large to install (emscripten brings its own clang), so `make run`
# leaves it out; npm comes with some node packages and not with others.
WEB_PACKAGES := cmake ninja-build libgtest-dev libtomlplusplus-dev emscripten \
                $(if $(shell command -v npm),,npm)
BROWSER_TEST_PACKAGES := chromium fonts-ipafont-gothic
JOBS ?= $(shell nproc)
PORT ?= 8080

.PHONY: run test deps deps-web deps-browser-test deps-packaging build build-asan web web-serve \
        web-bench bench fuzz package package-test clean

# Installs the Debian packages of the list $(1) that are not installed.
define install-missing
	@missing=""; \
	for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=$$( [ "$$(id -u)" -eq 0 ] || echo sudo ); \
	  $$SUDO apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

deps-web:
	$(call install-missing,$(WEB_PACKAGES))

deps-browser-test:
	$(call install-missing,$(BROWSER_TEST_PACKAGES))

deps-packaging:
	$(call install-missing,$(PACKAGING_PACKAGES))

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

test: build build-asan web deps-browser-test deps-packaging
	ctest --preset default -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	ctest --preset web -j $(JOBS)

package: build deps-packaging
	cpack --config build/CPackConfig.cmake -B build/package
	@ls build/package/*.deb

# The package's checks alone (they are part of `make test`): lintian, the metadata, the manual
# pages against --help, the completion, and an installation with dpkg (as root) and its removal.
package-test: build deps-packaging
	ctest --preset default -R '^packaging\.' --output-on-failure

# The core, its tests and the page in WebAssembly (build-web/); the page goes to build-web/site/.
# The build runs `npm ci` in web/ when the npm packages are missing or the lock file changed.
web: deps-web
	cmake --preset web
	cmake --build --preset web -j $(JOBS)

web-serve: web
	node web/serve.mjs build-web/site --port $(PORT)

# Steps per second of the loop program natively and in WebAssembly under node; how fast the page
# comes up in headless chromium and what it downloads.
web-bench: build web deps-browser-test
	cmake --build --preset default --target loop4m_steps_bench
	cmake --build --preset web --target loop4m_steps_bench loop4m_steps_bench_page
	@echo "native:"; ./build/bench/loop4m_steps_bench
	@echo "WebAssembly (node $$(node --version)):"; node build-web/web/loop4m_steps_bench.js
	@echo "WebAssembly ($$(chromium --version 2>/dev/null | head -1), headless):"; \
	  node web/bench/steps_in_browser.mjs build-web/web
	node web/bench/page_load.mjs build-web/site

bench: build
	@for b in build/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

# Each fuzz target runs FUZZ_SECONDS on its corpus, seeded in the target's own input format
# (build-fuzz/fuzz/seeds, made from the examples, the test programs and the shipped test files)
# and its regressions.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@for t in build-fuzz/fuzz/fuzz_*; do \
	  [ -f "$$t" ] && [ -x "$$t" ] || continue; \
	  name=$$(basename $$t); kind=$${name#fuzz_}; \
	  mkdir -p build-fuzz/corpus/$$kind; \
	  $$t -max_total_time=$(FUZZ_SECONDS) -max_len=16384 -timeout=10 -rss_limit_mb=4096 \
	    -artifact_prefix=build-fuzz/$$kind- build-fuzz/corpus/$$kind \
	    build-fuzz/fuzz/seeds/$$kind fuzz/regressions/$$kind \
	    || exit 1; \
	done

clean:
	rm -rf build build-asan build-fuzz build-web
