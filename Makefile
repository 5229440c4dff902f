# Two entry points: `make demo` builds a release and checks the bundled
# example, `make test` builds with the sanitizers and runs every test.
JOBS ?= 2

.PHONY: demo test bench golden clean

demo:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTAVELIN_TESTS=OFF
	cmake --build build/release -j$(JOBS)
	./build/release/tavelin check examples/*.ibs

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
