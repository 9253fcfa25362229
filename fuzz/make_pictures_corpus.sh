#!/bin/sh
# Seeds fuzz_pictures: every picture fixture behind the byte that names its format.
set -eu
cd "$(dirname "$0")"
data=../tests/data/pictures
mkdir -p corpus_pictures
seed() { { printf "\\$(printf '%03o' "$2")"; cat "$data/$1"; } > "corpus_pictures/$1"; }
seed baseline.jpg 0
seed progressive.jpg 4
seed rgb24.bmp 1
seed palette8.bmp 1
seed palette8-rle.bmp 5
seed drawing.emf 2
seed drawing.wmf 3
