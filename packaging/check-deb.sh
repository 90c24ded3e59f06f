#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it as a user's machine would see it:
# lintian (no errors), installation with apt-get, the programs start, removal leaves nothing behind.
# Run on demand (it installs into and removes from this system, as root or through sudo):
#   packaging/check-deb.sh            build in build-deb/ and check
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
for p in lintian dpkg-dev file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p"
done
if dpkg-query -W -f='${Status}' parlix 2>/dev/null | grep -q 'install ok installed'; then
    echo "check-deb: parlix is already installed on this system; remove it first" >&2
    exit 1
fi

build=build-deb
# Same compiler flags as ./test.sh, so ccache serves most of the build.
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLIX_WERROR=ON -DPARLIX_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr)
if command -v ccache >/dev/null 2>&1; then
    flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}" CCACHE_NOHASHDIR=1
fi
echo "== build"
cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build"
rm -f "$build"/parlix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/parlix_*.deb)
echo "== package $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

echo "== lintian"
lintian --fail-on error "$deb"
echo "lintian: no errors"

echo "== install"
# Only what the package depends on: its Depends must be enough to start, and the check leaves no
# recommended extras behind on this system.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "./$deb"
echo "== start"
# Without a display: the answers come before any window system is asked for.
env -u DISPLAY -u WAYLAND_DISPLAY parlix --version
qwirl --help
echo "== remove"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq parlix
left=()
for f in /usr/bin/parlix /usr/bin/parlix-cli /usr/bin/qwirl /usr/bin/qwirl-sandbox \
    /usr/share/applications/it.parlix.Parlix.desktop /usr/share/doc/parlix; do
    [ ! -e "$f" ] || left+=("$f")
done
if [ ${#left[@]} -gt 0 ] || dpkg-query -W -f='${Status}' parlix 2>/dev/null | grep -q installed; then
    echo "check-deb: left behind after removal: ${left[*]}" >&2
    exit 1
fi
echo "check-deb: the package builds, is lintian-clean of errors, installs, starts and removes cleanly"
