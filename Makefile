# Two entry points: `make demo` builds a release, checks the bundled
# example, indexes it, compiles it on demand and shows it; `make test`
# builds with the sanitizers and runs every test.
JOBS ?= 2
# The interpreter the Python module is built for (Debian's, which has
# pybind11 and numpy).
PYTHON ?= $(shell test -x /usr/bin/python3 && echo /usr/bin/python3 || echo python3)

.PHONY: demo test bench throughput python-bench fuzz golden clean

demo:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVELIN_TESTS=OFF
	cmake --build build/release -j$(JOBS)
	./build/release/tavelin check examples/*.ibs
	@# The model library works in a folder of its own: the index names the
	@# example relative to the folder, the compiled models go below it.
	rm -rf build/demo && mkdir -p build/demo/models
	cp examples/*.ibs build/demo/models/
	./build/release/tavelin index build/demo/models > build/demo/models/models.idx
	./build/release/tavelin show --lib build/demo/cbx --index build/demo/models/models.idx TVL8244
	./build/release/tavelin show --lib build/demo/cbx --index build/demo/models/models.idx \
		--pin 3 --corner typ --label U1.3 --number 1 TVL8244

test:
	cmake -S . -B build/debug -DCMAKE_BUILD_TYPE=Debug -DTAVELIN_SANITIZE=ON
	cmake --build build/debug -j$(JOBS)
	ctest --test-dir build/debug --output-on-failure -j$(JOBS)

bench:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVELIN_TESTS=OFF
	cmake --build build/release -j$(JOBS)
	@# The reader writes a banner per file to standard output: keep it out of the results.
	./build/release/tavelin_bench --benchmark_out=build/bench.txt --benchmark_out_format=console > /dev/null
	@cat build/bench.txt

# check, compile and the floor on generated regular files of about 10 and
# 50 MB, timed in one run each.
throughput:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVELIN_TESTS=OFF
	cmake --build build/release -j$(JOBS) --target tavelin_tool tavelin_throughput
	python3 bench/make_large_ibis.py build/big10.ibs 10
	python3 bench/make_large_ibis.py build/big50.ibs 50
	./build/release/tavelin_throughput build/release/tavelin build/big10.ibs BIG 5
	./build/release/tavelin_throughput build/release/tavelin build/big50.ibs BIG 5

# tavelin.read of the 10 MB generated file into Python objects and arrays
# against tavelin check of it, best of 5 runs each.
python-bench:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVELIN_TESTS=OFF
	cmake --build build/release -j$(JOBS) --target tavelin_tool tavelin_python
	$(PYTHON) bench/make_large_ibis.py build/big10.ibs 10
	PYTHONPATH=build/release/python $(PYTHON) bench/python_read.py build/release/tavelin build/big10.ibs 5

# Builds the libFuzzer programs with clang (a build of their own) and runs
# each for FUZZ_SECONDS; findings land in build/fuzz/artifacts/<target>.
FUZZ_SECONDS ?= 60
fuzz:
	cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTAVELIN_FUZZ=ON -DTAVELIN_TESTS=OFF -DTAVELIN_BENCH=OFF -DTAVELIN_PYTHON=OFF
	cmake --build build/fuzz -j$(JOBS)
	cd build/fuzz && ../../fuzz/run.sh $(CURDIR)/build/fuzz $(FUZZ_SECONDS)

# Rewrites the golden logs of the corpus from the current reader and shows
# what changed: a changed finding on a real file is reviewed, never silent.
golden:
	cmake -S . -B build/debug -DCMAKE_BUILD_TYPE=Debug -DTAVELIN_SANITIZE=ON
	cmake --build build/debug -j$(JOBS) --target tavelin_tests
	TAVELIN_GOLDEN_UPDATE=1 ./build/debug/tavelin_tests --gtest_filter='Golden.*'
	git add -N tests/golden
	git --no-pager diff --stat -- tests/golden
	git --no-pager diff -- tests/golden

clean:
	rm -rf build
