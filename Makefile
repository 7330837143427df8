# TeX Quillet: `make run` starts the program, `make test` runs every test.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
FUZZ := build/fuzz
FILES ?=
# Seconds each fuzz target runs for in `make fuzz`.
FUZZ_SECONDS ?= 60

.PHONY: all deps build native win program test dist run demo shot bench fuzz clean

all: build

deps:
	@tools/deps.sh

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

$(WIN)/CMakeCache.txt:
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null

native: deps $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win: deps $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

build: native win

# The release check in the Windows tests installs and runs what `make dist` made.
test: build dist
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	tools/test-session bash -c 'cd $(WIN) && ctest --output-on-failure -j $(JOBS)'

# What the program needs to run (not the tests and benchmarks): a first `make run` is quick.
PROGRAM_TARGETS := Quillet quillet-tex quillet-dvi help_file sample_document shipped_content
program: deps $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS) --target $(PROGRAM_TARGETS)

# The portable zip and the installer of the version in VERSION, in dist/.
dist: program
	tools/dist $(WIN) dist

run: program
	tools/run-quillet $(FILES)

# The sample document in a folder of its own, opened ready to typeset with the bridges.
demo: program
	mkdir -p build/demo
	cp -n $(WIN)/sample.tex build/demo/sample.tex
	tools/run-quillet build/demo/sample.tex

# Without FILES: the front page's picture, docs/quillet.png.
shot: program
	if [ -n "$(FILES)" ]; then tools/shot $(FILES); else tools/front-shot; fi

bench: build
	tools/bench

# Fuzzes every target for FUZZ_SECONDS each, growing a working copy of its corpus.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DQUILLET_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	tools/fuzz $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf build dist
