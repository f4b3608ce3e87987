# make run  - install what is missing, build, start Corvalend under Wine
# make test - install what is missing, build, run every test
# make build - build/win64/Corvalend.exe
# make bench - the benchmarks
.PHONY: setup build test run bench

setup:
	@bash scripts/setup.sh

build: setup
	@bash scripts/build.sh win64

test: setup
	@bash scripts/test.sh

run: build
	@bash scripts/run.sh

bench: setup
	@bash scripts/bench.sh
