#!/usr/bin/env bash
# Builds the INI fuzz target with clang and libFuzzer (AddressSanitizer and UndefinedBehaviorSanitizer
# on) in its own build folder and runs it on a copy of the corpus.
#   tests/fuzz/run-fuzz.sh [seconds=60] [build folder=build-fuzz]
# Needs Debian's clang (apt-get install clang); the normal build and CI do not.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
build="${2:-$root/build-fuzz}"
command -v clang++ >/dev/null || { echo "run-fuzz.sh needs clang++ (apt-get install clang)" >&2; exit 1; }

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKORVAX_FUZZ=ON -DKORVAX_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" --target korvax_ini_fuzz -j"$(nproc)"

work="$build/fuzz-corpus"
mkdir -p "$work"
cp -n "$root"/tests/fuzz/corpus/* "$work"/ 2>/dev/null || true
"$build/bin/fuzz/korvax_ini_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -dict="$root/tests/fuzz/ini.dict" "$work" 2>&1 | tee "$build/fuzz.log" | grep -E 'DONE|stat::|invariant broken|ERROR|runtime error|SUMMARY'
