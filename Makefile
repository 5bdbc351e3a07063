# Set-up and everyday commands. `make run` and `make test` each install what is missing first.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
FUZZ_SECONDS ?= 20

.PHONY: deps configure build run package test test-main test-asan test-tsan test-fuzz test-package bench clean

deps:
	bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bin/kx52b-40k

test-main: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests once more with address and undefined-behaviour sanitizers.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKX52B_SANITIZE=ON -DKX52B_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The tests of threaded code (the USB cable's reader) under the thread sanitizer.
TSAN_TESTS = test_hid test_usb_link
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX52B_TSAN=ON -DKX52B_BENCH=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TESTS)
	QT_QPA_PLATFORM=offscreen TSAN_OPTIONS=halt_on_error=1 \
		ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS) -R '^(hid|usb_link)\.'

# The frame decoders under libFuzzer for a short while.
test-fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX52B_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash fuzz/run.sh $(FUZZ_BUILD)/bin $(FUZZ_SECONDS)

# The Debian package of both programs from the main build; only what it ships is compiled.
package: configure
	cmake --build $(BUILD) -j $(JOBS) --target kx52b_shipped
	rm -f $(BUILD)/kx52b_*.deb
	cd $(BUILD) && cpack

# Installs that package on this machine, starts the installed programs and removes it again.
test-package: package
	bash packaging/test-package.sh $(BUILD)

# The plain build's test run comes last so its summary closes the output.
test: test-fuzz test-asan test-tsan test-package test-main

# Every benchmark, as one table of figures beside their goals (several minutes).
bench: build
	python3 bench/figures.py $(BUILD)/bin

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD)
