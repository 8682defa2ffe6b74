# make       the set-up (packages, locale, Wine prefix), then the native and Windows builds
# make run   the same, then shows the calendar
# make test  the same set-up, then every test (native, native under ASan+UBSan, under Wine) through ctest
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows

# How each build folder is configured.
CONFIGURE_native := -DCMAKE_BUILD_TYPE=RelWithDebInfo
CONFIGURE_asan := -DCMAKE_BUILD_TYPE=Debug -DVESTREL_SANITIZE=ON
CONFIGURE_windows := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

.PHONY: all setup native asan windows test run bench clean

all: setup
	@$(MAKE) --no-print-directory native windows

setup:
	@bash scripts/setup.sh
	@bash scripts/wine-prefix.sh

# A folder counts as configured once cmake has generated its Makefile. A configure that failed
# (say, before MinGW was installed) leaves a CMakeCache.txt but no Makefile: it is configured again,
# from a clean cache so that nothing the failed run found is reused.
build/%/Makefile:
	@rm -rf build/$*/CMakeCache.txt build/$*/CMakeFiles
	cmake -S . -B build/$* $(CONFIGURE_$*)

native: $(NATIVE)/Makefile
	cmake --build $(NATIVE) -j $(JOBS)

asan: $(ASAN)/Makefile
	cmake --build $(ASAN) -j $(JOBS)

windows: $(WINDOWS)/Makefile
	cmake --build $(WINDOWS) -j $(JOBS)

test: setup
	@$(MAKE) --no-print-directory native asan windows
	@bash scripts/test.sh $(NATIVE) $(ASAN) $(WINDOWS)

run: setup
	@$(MAKE) --no-print-directory native windows
	@bash scripts/run.sh

bench: setup
	@$(MAKE) --no-print-directory native windows
	$(NATIVE)/bench/calendar_bench
	$(NATIVE)/bench/note_search_bench
	bash bench/cli_bench.sh $(NATIVE)/vestrel-cal
	bash scripts/wine-run.sh $(WINDOWS)/bench/grid_bench.exe
	bash scripts/wine-run.sh $(WINDOWS)/bench/app_bench.exe
	bash scripts/measure-start.sh

clean:
	rm -rf $(NATIVE) $(ASAN) $(WINDOWS)
