# make run  - install what is missing, build, start Corvalend under Wine
# make test - install what is missing, build, run every test
# make build - build/win64/Corvalend.exe
# make bench - the benchmarks
# make dist  - build/dist/: the installer (.msi), the portable zip and the winget manifests
.PHONY: setup build test run bench dist

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

dist: setup
	@bash scripts/dist.sh
