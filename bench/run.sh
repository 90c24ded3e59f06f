#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all; each prints its
# figure, the baseline measured in the same run, and the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
# The CSV import is measured against the sqlite3 shell's .import.
if ! command -v sqlite3 >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends sqlite3
fi
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARLIX_BUILD_BENCH=ON -DPARLIX_BUILD_TESTS=ON >/dev/null
cmake --build build-bench
export QT_QPA_PLATFORM=offscreen
for b in $(find build-bench/bench -type f -perm -u+x -not -path '*/CMakeFiles/*' | sort); do
    if [ -n "${1:-}" ] && [[ "$b" != *"$1"* ]]; then continue; fi
    echo "== ${b##*/}"
    "$b"
done
