# A thin front over CMake: every target first installs what is missing.
PRESET ?= default
BUILD := build/$(PRESET)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# WERROR=ON makes every warning an error, as CI builds; a user's build only warns.
WERROR ?= OFF

.PHONY: all deps configure build test run bench asan memcheck package screenshots windows \
	test-windows check-windows web test-web serve-web check-web bench-web clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake --preset $(PRESET) -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)

build: configure
	cmake --build --preset $(PRESET) --parallel $(JOBS)

test: build
	ctest --preset $(PRESET) --parallel $(JOBS)

run: build
	$(BUILD)/app/catch-the-moxel

bench: build
	$(BUILD)/bench/moxel-bench

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
# The preset sets intercept_tls_get_addr=0: GCC 12's leak checker otherwise
# takes a block of thread-local storage that happens to sit at one offset in
# a page for an old glibc's, and crashes at exit instead of checking.
asan:
	$(MAKE) test PRESET=asan

# A scripted game (start, stop, level 3, catch, close, catch, exit) under memcheck.
memcheck: build
	QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --leak-check=full \
	    --errors-for-leak-kinds=definite --error-exitcode=1 --num-callers=30 \
	    $(BUILD)/tests/exit_paths scripted-game

# A Debian package of the game, in build/default/package/; the same bytes from
# every clone of a commit.
package: build
	cd $(BUILD) && cpack

# The README's pictures of the start screen, a game and the score window.
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/app/moxel-screenshots docs

# The game for Windows, cross-built with MinGW-w64: the portable zip and the
# installer in build/windows/. Qt for Windows is built first if this machine
# has none yet (20 to 40 minutes, once).
windows:
	@scripts/install-deps windows
	qt=$$(scripts/build-qt-windows) && export MOXEL_QT_WINDOWS=$$qt && \
	    cmake --preset windows -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) && \
	    cmake --build --preset windows --parallel $(JOBS) && \
	    cd build/windows && cpack

# Every test of the Windows build, run under Wine on the offscreen platform.
test-windows: windows
	ctest --preset windows --parallel $(JOBS)

# The game in a real window under Wine on Xvfb, and the installer under Wine.
check-windows: windows
	tests/windows_check.sh build/windows

# The game for browsers, built with emscripten: the site in build/web/site/
# and its zip in build/web/. Qt for the web is built first if this machine has
# none yet (about 20 minutes, once).
web:
	@scripts/install-deps web
	qt=$$(scripts/build-qt-web) && export MOXEL_QT_WEB=$$qt && \
	    cmake --preset web -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) && \
	    cmake --build --preset web --parallel $(JOBS) && \
	    cd build/web && cpack

# The engine's tests, built for the web, under node.
test-web: web
	ctest --preset web --parallel $(JOBS)

# Serves the site on this machine and prints its address.
PORT ?= 8000
serve-web: web
	python3 -m http.server --bind 127.0.0.1 --directory build/web/site $(PORT)

# The web's check and benchmark share a DevTools client.
WEB_PYTHON := PYTHONPATH=scripts/lib

# The page played in headless Chromium with real input, its pictures compared
# with the Linux build's of the same steps; screenshots of each step in
# build/web/screenshots/.
check-web: web build
	QT_QPA_PLATFORM=offscreen $(BUILD)/app/moxel-screenshots --steps build/web/linux
	$(WEB_PYTHON) tests/web_check.py build/web/site build/web/linux

# Download size, start-up time, frames, CPU and memory of the page in
# headless Chromium, against a minimal Qt page.
bench-web: web
	$(WEB_PYTHON) bench/web_bench.py build/web

clean:
	rm -rf build
