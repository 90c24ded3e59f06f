#!/usr/bin/env bash
# Builds Parlix and runs every test through ctest.
#   ./test.sh             normal build in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/
#   ./test.sh --build-only  install and build, run no test (used by run.sh)
#   ./test.sh --fuzz SECONDS  clang + libFuzzer build in build-fuzz/, each fuzz target run SECONDS seconds
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev
    libcurl4-openssl-dev libssl-dev libgtest-dev libbenchmark-dev libcpp-httplib-dev libshp-dev python3-dbf ccache
    gobject-introspection libgirepository1.0-dev libglib2.0-dev python3-gi qt6-tools-dev
    libqt6opengl6-dev desktop-file-utils appstream qtkeychain-qt6-dev libpq-dev postgresql
    libphonenumber-dev libebook-contacts1.2-dev openssl zsh qt6-translations-l10n qt6-charts-dev)
# Only fuzzing needs clang and its runtime (libFuzzer, sanitizers).
[ "${1:-}" != "--fuzz" ] || packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=build
flags=(-DPARLIX_WERROR=ON)
run_tests=1
case "${1:-}" in
--sanitize)
    build=build-asan
    flags+=(-DPARLIX_SANITIZE=ON)
    ;;
--build-only) run_tests=0 ;;
--fuzz)
    seconds="${2:?usage: ./test.sh --fuzz SECONDS}"
    build=build-fuzz
    flags=(-DPARLIX_BUILD_FUZZ=ON -DPARLIX_BUILD_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    ;;
esac

# ccache keeps rebuilds of unchanged files quick; paths below the parent folder are hashed relative to
# it, so several checkouts side by side share one cache.
if command -v ccache >/dev/null 2>&1; then
    flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}" CCACHE_NOHASHDIR=1
fi

# Leaks inside libraries we do not build are known and listed; ours still fail the sanitizer runs.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
if [ "$build" = build-fuzz ]; then
    mapfile -t targets < "$build/fuzz-targets.txt"
    cmake --build "$build" --target "${targets[@]/%/_fuzzer}"
    # New inputs go to build-fuzz/corpus/NAME; the checked-in seeds in fuzz/corpus/NAME are only read.
    # Targets that write files do so in a memory file system when there is one: every save waits for the
    # disk, which would slow them fiftyfold.
    [ ! -w /dev/shm ] || export TMPDIR=/dev/shm
    # Whole stacks for every allocation, so that a leak inside a library can be told from ours by the
    # library's name (fuzz/lsan.supp); glib has no frame pointers to unwind quickly through.
    export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    for name in "${targets[@]}"; do
        mkdir -p "$build/corpus/$name"
        echo "== ${name}_fuzzer, ${seconds} s"
        log="$build/corpus/$name.log"
        if QT_QPA_PLATFORM=offscreen "$build/fuzz/${name}_fuzzer" -max_total_time="$seconds" \
            -print_final_stats=1 -artifact_prefix="$build/crash-$name-" "$build/corpus/$name" \
            "fuzz/corpus/$name" >"$log" 2>&1; then
            grep -E '^(Done|stat::number_of_executed_units)' "$log"
        else
            tail -n 40 "$log"
            echo "${name}_fuzzer found a fault; its input is $build/crash-$name-*"
            exit 1
        fi
    done
    exit 0
fi
cmake --build "$build"
[ "$run_tests" -eq 1 ] || exit 0
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
