#!/bin/sh
# Builds the libFuzzer harnesses with clang (installed from Debian's packages
# when missing) and runs each for SECONDS (default 60), starting from the
# corpus kept under tests/fuzz/corpus/. A crash, a sanitizer report or a unit
# that hangs for a minute fails; a merely slow unit does not.
#
#   run.sh [SECONDS]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
build=$root/build/fuzz

if ! command -v clang++ >/dev/null 2>&1 || [ -z "$(find /usr/lib/llvm-* -name 'libclang_rt.fuzzer-x86_64.a' 2>/dev/null)" ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo -n"; fi
    echo "fuzz: installing clang and libFuzzer"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null 2>&1 ||
        $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTAVOX_FUZZ=ON -DTAVOX_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target ucci_fuzz data_files_fuzz notation_fuzz >/dev/null

failed=0
for harness in ucci_fuzz data_files_fuzz notation_fuzz; do
    # New inputs go to a working copy; the kept corpus changes only by hand.
    work=$build/corpus/$harness
    mkdir -p "$work" "$build/artifacts"
    status=0
    (cd "$build" && timeout -k 10 $((seconds + 120)) "./$harness" -max_total_time="$seconds" -timeout=60 \
        -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$build/artifacts/$harness-" \
        "$work" "$root/tests/fuzz/corpus/$harness") >"$build/$harness.log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$harness.log")
    if [ "$status" -eq 0 ]; then
        echo "fuzz: $harness ok, ${runs:-?} runs in $seconds s"
    else
        echo "fuzz: $harness FAILED (status $status); see $build/$harness.log and $build/artifacts/"
        grep -E 'ERROR|SUMMARY|deadly|timeout' "$build/$harness.log" | head -5
        failed=1
    fi
done
exit "$failed"
