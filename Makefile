# make run   installs what is missing, builds, and shows the calendar
# make test  the same set-up, then every test (native and under Wine) through ctest
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
NATIVE := build/native
WINDOWS := build/windows

.PHONY: all setup native windows test run bench clean

all: native windows

setup:
	@bash scripts/setup.sh
	@bash scripts/wine-prefix.sh

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(WINDOWS)/CMakeCache.txt:
	cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

windows: $(WINDOWS)/CMakeCache.txt
	cmake --build $(WINDOWS) -j $(JOBS)

test: setup
	@$(MAKE) --no-print-directory all
	@bash scripts/test.sh $(NATIVE) $(WINDOWS)

run: setup
	@$(MAKE) --no-print-directory all
	@bash scripts/run.sh

bench: native
	$(NATIVE)/bench/calendar_bench

clean:
	rm -rf $(NATIVE) $(WINDOWS)
