# Thin wrapper over the setup script and the CMake presets.
.PHONY: setup build deb web windows release run test check bench assets clean

# The packages' files carry the last commit's time, so an unchanged tree makes
# the same packages.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

# The Linux build's set-up; windows and web run their own.
setup:
	@bash scripts/setup.sh linux

build: setup
	cmake --preset release
	cmake --build --preset release

# build/release/kolvex_<version>_amd64.deb
deb: build
	cd build/release && cpack -G DEB

# build/web/kolvex.html with its kolvex.js and kolvex.wasm, to be served as they are.
web:
	@bash scripts/setup.sh web
	cmake --preset web
	cmake --build --preset web

# build/windows/kolvex.exe, its zip and its installer, cross-built with mingw-w64.
windows:
	@bash scripts/setup.sh windows
	cmake --preset windows
	cmake --build --preset windows
	cd build/windows && cpack

# dist/: the .deb, the Windows zip and installer, the web page's zip, the source
# archive and SHA256SUMS.
release: deb windows web
	bash scripts/release.sh

run: build
	./build/release/kolvex

test: release
	python3 scripts/check_links.py
	ctest --preset release
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize
	bash tests/fuzz/run_fuzz.sh build/fuzz
	cmake --preset sanitize-game
	cmake --build --preset sanitize-game
	ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0:exitcode=23 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	tests/with_display.sh /usr/bin/python3 tests/e2e/test_session.py build/sanitize-game/kolvex --sanitized
	KOLVEX_E2E_OUT=$(CURDIR)/build/windows/e2e \
	tests/with_display.sh /usr/bin/python3 tests/e2e/wine_session.py build/windows/kolvex.exe
	tests/with_display.sh node tests/web/test_page.mjs build/web
	python3 tests/packaging/test_release.py dist

# The inner loop, seconds on a built tree: the pages' links, then the unit tests.
# Only a tree never configured needs the set-up first.
check:
	@python3 scripts/check_links.py
	@[ -f build/release/CMakeCache.txt ] || { bash scripts/setup.sh linux && cmake --preset release; }
	cmake --build --preset release --target kolvex_unit_tests
	ctest --preset release -L unit

# Prints the figures and keeps them in build/bench/report.txt.
bench: build windows web
	@bash scripts/setup.sh bench
	bash scripts/bench.sh

assets:
	cmake -S tools/image_gen -B build/image_gen -DCMAKE_BUILD_TYPE=Release
	cmake --build build/image_gen -j2
	./build/image_gen/gen_images assets/data
	./build/image_gen/gen_images --desktop-icons packaging/icons
	mkdir -p web/icons
	./build/image_gen/gen_images --web-icons web/icons
	cmake -S tools/audio_gen -B build/audio_gen -DCMAKE_BUILD_TYPE=Release
	cmake --build build/audio_gen -j2
	./build/audio_gen/gen_audio assets/data

clean:
	rm -rf build dist
