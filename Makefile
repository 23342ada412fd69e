# make run    installs what is missing, builds, starts vesk on the default database
# make test   installs, checks that install-deps covers every package the build uses, builds with
#             AddressSanitizer and UndefinedBehaviorSanitizer, runs every test
# make bench  installs, builds optimised, prints the benchmark figures
# make bench-10m  the end-to-end figure on 1,000,000 and 10,000,000 lines (not in make bench)
# make package  installs, builds optimised for /usr, writes vesk_VERSION_ARCH.deb into this folder

JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps build run test bench bench-10m package clean

deps:
	bash scripts/install-deps

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

run: build
	./build/src/app/vesk

test: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON -DVESK_BENCH=OFF $(CMAKE_FLAGS)
	bash scripts/check-deps build-asan
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESK_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build-release -j $(JOBS)
	bash bench/run

bench-10m: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESK_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build-release -j $(JOBS)
	bash bench/run --ten-million

package: deps
	cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DVESK_TESTS=OFF -DVESK_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-package -j $(JOBS)
	rm -f build-package/vesk_*.deb vesk_*.deb
	cd build-package && cpack
	cp build-package/vesk_*.deb .

clean:
	rm -rf build build-asan build-release build-package
