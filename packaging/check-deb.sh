#!/usr/bin/env bash
# Builds the Debian packages with CPack and checks them as a user's machine would see them: lintian (no
# error, no warning beyond the allowed ones below), installation with apt-get, the programs start, the
# timer enabled for every user, purge, and nothing of the packages left on the system.
# Run on demand (it installs into and removes from this system, as root or through sudo):
#   packaging/check-deb.sh            build in build-deb/ and check
set -euo pipefail
cd "$(dirname "$0")/.."

# Lintian warnings allowed, each with its reason; every other error or warning fails the check. None is
# needed at present. lintian also notes (I:, not failing) binary-has-unneeded-section (.comment, which
# CPack's strip keeps), possible-documentation-but-no-doc-base-registration (parlix.html) and
# hardening-no-fortify-functions on parlix and parlix-cli: every file is compiled with
# -D_FORTIFY_SOURCE=2 -O2, and the calls left unfortified are those the compiler proved safe.
declare -A allowed=(
    # [tag]="reason"
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
for p in lintian dpkg-dev file python3-gi pkg-config; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p"
done

build=build-deb
# Debian's hardening flags, as dpkg-buildpackage would pass them: fortified functions (with the -O2 of
# the build type), stack protector, read-only relocations and immediate binding (bindnow).
# CMake takes no CPPFLAGS, so they go with the compiler flags.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLIX_WERROR=ON -DPARLIX_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
    "-DCMAKE_C_FLAGS=$CPPFLAGS $CFLAGS" "-DCMAKE_CXX_FLAGS=$CPPFLAGS $CXXFLAGS"
    "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS" "-DCMAKE_SHARED_LINKER_FLAGS=$LDFLAGS" "-DCMAKE_MODULE_LINKER_FLAGS=$LDFLAGS")
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS OBJCFLAGS OBJCXXFLAGS FFLAGS FCFLAGS GCJFLAGS DFLAGS
if command -v ccache >/dev/null 2>&1; then
    flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}" CCACHE_NOHASHDIR=1
fi
echo "== build"
cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
mapfile -t debs < <(ls "$build"/*.deb)
packages=()
for deb in "${debs[@]}"; do
    packages+=("$(dpkg-deb -f "$deb" Package)")
done
for p in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        echo "check-deb: $p is already installed on this system; remove it first" >&2
        exit 1
    fi
done
for deb in "${debs[@]}"; do
    echo "== package $deb"
    dpkg-deb -f "$deb" Package Version Section Depends Recommends
done

echo "== lintian"
suppress=()
for tag in "${!allowed[@]}"; do
    echo "allowed: $tag (${allowed[$tag]})"
    suppress+=(--suppress-tags "$tag")
done
lintian --display-info --fail-on error,warning "${suppress[@]}" "${debs[@]}"
echo "lintian: no errors, no warnings beyond the allowed ones"

# What the packages will lay down, and which of its folders are there already (shared with others).
declare -A existed=()
mapfile -t contents < <(for deb in "${debs[@]}"; do dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\.||; s|/$||'; done |
    grep -v '^$' | sort -u)
for path in "${contents[@]}"; do
    [ ! -d "$path" ] || existed[$path]=1
done

# Whatever stops the check from here on, the packages leave the system again.
installed=0
cleanup() {
    [ -z "${sandbox:-}" ] || kill "$sandbox" 2>/dev/null || true
    [ "$installed" -eq 0 ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq "${packages[@]}" >/dev/null
}
trap cleanup EXIT

echo "== install"
# Only what the packages depend on: their Depends must be enough to start, and the check leaves no
# recommended extras behind on this system.
installed=1
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${debs[@]/#/./}"
echo "== start"
# Without a display: the answers come before any window system is asked for.
env -u DISPLAY -u WAYLAND_DISPLAY parlix --version
parlix-cli --help >/dev/null
# The tools against each other: the sandbox gateway on loopback, qwirl asking it for the credit.
port=18089
qwirl-sandbox --port "$port" --login demo --password demo --credit 7 &
sandbox=$!
credit=""
for _ in $(seq 50); do
    credit=$(QWIRL_SEND_HOST="127.0.0.1:$port" QWIRL_PASSWORD=demo qwirl --login demo credits 2>/dev/null || true)
    [ "$credit" != 7 ] || break
    sleep 0.1
done
kill "$sandbox"
wait "$sandbox" 2>/dev/null || true
sandbox=""
if [ "$credit" != 7 ]; then
    echo "check-deb: qwirl did not get the credit from qwirl-sandbox (got '$credit')" >&2
    exit 1
fi
echo "qwirl credits from qwirl-sandbox: $credit"
/usr/bin/python3 -c "import gi; gi.require_version('Qwirl', '1.6'); from gi.repository import Qwirl; print('Qwirl', Qwirl.Control().props.Quality)"
pkg-config --modversion qwirl qwirl-qt qwirl-gobject-1.6
plugin=$(dpkg -L qwirl-designer-plugin | grep '/designer/.*\.so$')
if ldd "$plugin" | grep -q 'not found'; then
    ldd "$plugin" >&2
    echo "check-deb: the Designer plugin does not find its libraries" >&2
    exit 1
fi
# The vCard import loads its parser module and the phone number module, and the
# opt-out register the latter, from the installed library folder.
vcard_home=$(mktemp -d)
imported=$(parlix-cli --home "$vcard_home/dati" import-vcard tests/data/vcard/phone21.vcf || true)
opted_out=$(parlix-cli --home "$vcard_home/dati" optout add 00393331234567 || true)
rm -rf "$vcard_home"
if [ "$opted_out" != +393331234567 ]; then
    echo "check-deb: the installed parlix-cli did not add to the opt-out register (got '$opted_out')" >&2
    exit 1
fi
if [ "$imported" != 2 ]; then
    echo "check-deb: the installed parlix-cli did not import the vCards (got '$imported')" >&2
    exit 1
fi
echo "parlix-cli import-vcard: $imported contacts"
# Enabled for every user, as an administrator would; purge must take it away.
timer_link=/etc/systemd/user/timers.target.wants/parlix-run-scheduled.timer
if command -v systemctl >/dev/null 2>&1; then
    $sudo systemctl --global enable parlix-run-scheduled.timer
else
    $sudo mkdir -p "$(dirname "$timer_link")"
    $sudo ln -s /usr/lib/systemd/user/parlix-run-scheduled.timer "$timer_link"
fi
[ -L "$timer_link" ] || { echo "check-deb: enabling the timer made no link" >&2; exit 1; }

echo "== purge"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq "${packages[@]}"
installed=0
left=()
for path in "${contents[@]}" "$timer_link"; do
    if [ -L "$path" ] || { [ -e "$path" ] && [ -z "${existed[$path]:-}" ]; }; then
        left+=("$path")
    fi
done
for p in "${packages[@]}"; do
    ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -qv '^unknown ok not-installed$' || left+=("package $p")
done
if [ ${#left[@]} -gt 0 ]; then
    printf 'check-deb: left behind after purge: %s\n' "${left[@]}" >&2
    exit 1
fi
echo "check-deb: ${#debs[@]} packages build, pass lintian, install, start and purge without a trace"
