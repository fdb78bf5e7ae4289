# SPDX-License-Identifier: MIT
# Stepwell: the commands a developer types. `make run` and `make test` install what is
# missing first, so both work on a fresh Debian 12 machine.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

# Debian packages the build, the tests and the window need (desktop-file-utils and appstream
# check the desktop entry and the metainfo; file is what CPack uses to find the program's
# library dependencies; lintian, mandoc and bash-completion check the packages, the manual
# page and the completions (zsh and fish too); openbox and x11-utils run and inspect the
# window under a real window manager; vim, emacs-nox and pre-commit run the guide's recipes
# for them).
PACKAGES := build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev \
	clang-format python3 desktop-file-utils appstream file time hyperfine \
	qt6-base-dev qt6-qpa-plugins fonts-ipafont-gothic \
	xvfb xauth xdotool imagemagick openbox x11-utils clang libclang-rt-14-dev \
	lintian mandoc bash-completion zsh fish vim emacs-nox pre-commit

# Where `make install` puts Stepwell; DESTDIR stages the tree elsewhere (for packaging).
PREFIX ?= /usr/local
DESTDIR ?=

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps build test test-asan fuzz run bench format format-check clean release \
	install uninstall package

all: build

# Installs the packages that are not installed yet (nothing to do when all are there).
deps:
	@missing=""; for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

# The developers' build, which CI runs too, treats warnings as errors; the release build
# (make install, make package) does not.
$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DSTEPWELL_WERROR=ON $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer in a
# folder of its own; any finding fails the test that met it. tests/lsan.supp names the
# system libraries whose own leaks at exit are not Stepwell's.
ASAN_BUILD_DIR ?= build-asan
test-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DSTEPWELL_SANITIZE=ON -DSTEPWELL_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --test-dir $(ASAN_BUILD_DIR) --output-on-failure -j $(JOBS)

# Runs every fuzz target for FUZZ_SECONDS, starting from the seeds in fuzz/corpus/<target>.
# New inputs go to $(FUZZ_BUILD_DIR)/corpus/<target>, findings to $(FUZZ_BUILD_DIR)/findings/.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS := fuzz_tag_file fuzz_numbers fuzz_indent_line fuzz_convert
fuzz: deps
	cmake -S fuzz -B $(FUZZ_BUILD_DIR) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	@rm -rf $(FUZZ_BUILD_DIR)/findings && mkdir -p $(FUZZ_BUILD_DIR)/findings
	@set -e; for target in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD_DIR)/corpus/$$target; \
		echo "== $$target: $(FUZZ_SECONDS) s"; \
		if $(FUZZ_BUILD_DIR)/$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD_DIR)/findings/$$target- \
			$(FUZZ_BUILD_DIR)/corpus/$$target fuzz/corpus/$$target \
			>$(FUZZ_BUILD_DIR)/$$target.log 2>&1; then \
			grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done)' \
				$(FUZZ_BUILD_DIR)/$$target.log; \
		else \
			tail -n 60 $(FUZZ_BUILD_DIR)/$$target.log; \
			echo "$$target found a fault; its input is in $(FUZZ_BUILD_DIR)/findings/"; \
			exit 1; \
		fi; \
	done

# With a display, opens the window; without one, converts a copy of the bundled sample page
# and shows the result.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo "Opening the window ($(BUILD_DIR)/stepwell)"; \
		$(BUILD_DIR)/stepwell; \
	else \
		mkdir -p $(BUILD_DIR)/run && \
		cp samples/page.html $(BUILD_DIR)/run/page.html && \
		rm -f $(BUILD_DIR)/run/page.html.ident && \
		$(BUILD_DIR)/stepwell $(BUILD_DIR)/run/page.html </dev/null && \
		echo "No display: converted samples/page.html; wrote $(BUILD_DIR)/run/page.html.ident:" && \
		cat $(BUILD_DIR)/run/page.html.ident; \
	fi

# What `make install` and `make package` ship, built apart from the tests: optimised, without
# the tests and the benchmarks, so that it needs only the compiler, CMake and Qt's
# development files (no `make deps`, no root), and without -Werror even in a folder that a
# developer configured with it.
RELEASE_BUILD_DIR ?= build-release
release:
	cmake -S . -B $(RELEASE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DSTEPWELL_TESTS=OFF \
		-DSTEPWELL_BENCH=OFF -DSTEPWELL_WERROR=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)
	cmake --build $(RELEASE_BUILD_DIR) -j $(JOBS)

# The program folder goes to $(PREFIX)/lib/stepwell, with a link in $(PREFIX)/bin, the
# system's tag table, the manual page, the completions, the desktop entry and the icons. Run
# it as root (sudo make install) for a system prefix. An edited system table is kept.
install: release
	DESTDIR="$(DESTDIR)" packaging/install.sh $(RELEASE_BUILD_DIR) $(PREFIX) \
		$(RELEASE_BUILD_DIR)/installed

# Removes what `make install` put in place, and the folders it made; an edited system
# table, and the settings Stepwell keeps in each user's folder, stay.
uninstall:
	packaging/uninstall.sh $(RELEASE_BUILD_DIR)/installed

# Builds the Debian packages build/stepwell_<version>_<arch>.deb (the command line) and
# build/stepwell-gui_<version>_<arch>.deb (the window), installing into /usr.
package: release
	rm -rf $(RELEASE_BUILD_DIR)/packages
	cpack -G DEB --config $(RELEASE_BUILD_DIR)/CPackConfig.cmake -B $(RELEASE_BUILD_DIR)/packages
	mkdir -p $(BUILD_DIR)
	cp $(RELEASE_BUILD_DIR)/packages/*.deb $(BUILD_DIR)/

# Generates the benchmark pages once (in bench/data/, not committed), then times conversions
# against the plain line copier, peak memory on a huge line, start-up, and the engine's
# micro-benchmarks, with an optimised build of their own, as installed.
BENCH_BUILD_DIR ?= build-bench
bench: deps
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DSTEPWELL_TESTS=OFF \
		$(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target stepwell line_copier micro_bench
	bench/run.py $(BENCH_BUILD_DIR)
	$(BENCH_BUILD_DIR)/bench/micro_bench

FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')

format:
	clang-format -i $(FORMAT_FILES)

format-check:
	clang-format --dry-run --Werror $(FORMAT_FILES)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR) $(RELEASE_BUILD_DIR) $(BENCH_BUILD_DIR)
