#!/usr/bin/env bash
# The one entry point: ./dev.sh test | run [options] | build | bench | site | package
set -u
ROOT=$(cd "$(dirname "$0")" && pwd)
cd "$ROOT"

PKGS=(cmake ninja-build g++ python3 googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools wine wine64
      xvfb xdotool imagemagick x11-utils fonts-dejavu-core fonts-roboto-unhinted nsis)

setup() {
    local missing=()
    for p in "${PKGS[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== installing: ${missing[*]}"
    local SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# The headless browser of the site's test (Debian's chromium); the test skips, saying why, where
# it cannot be installed.
browser() {
    command -v chromium >/dev/null && return 0
    echo "== installing: chromium"
    local SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends chromium >/dev/null 2>&1 ||
        echo "== chromium could not be installed: the site's browser test will be skipped"
}

configure() {  # configure a preset once
    [ -f "build/$1/build.ninja" ] || cmake --preset "$1" >/dev/null || return 1
}

build() {
    local rc=0
    for p in "$@"; do
        echo "== build $p"
        configure "$p" && cmake --build --preset "$p" || rc=1
    done
    return $rc
}

# A virtual display for the whole run when none is there.
XVFB_PID=""
ensure_display() {
    if [ -z "${DISPLAY:-}" ]; then
        exec 5< <(Xvfb -displayfd 1 -screen 0 1280x1200x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
        local line num=""
        read -r line <&5; XVFB_PID=${line#pid }
        read -r -t 20 num <&5
        [ -n "$num" ] || { echo "Xvfb did not start"; return 1; }
        export DISPLAY=":$num"
    fi
}
stop_all() {
    WINEPREFIX="$ROOT/build/wineprefix" wineserver -k 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

cmd=${1:-help}
shift || true
case "$cmd" in
test)
    setup || exit 1
    build native fuzz win64 || exit 1
    python3 scripts/build_site.py build/site || exit 1
    browser
    ensure_display || exit 1
    trap stop_all EXIT
    rc=0
    echo "== native tests"; ctest --preset native || rc=1
    echo "== fuzz targets"; ctest --preset fuzz || rc=1
    echo "== Windows tests under Wine"; ctest --preset win64 || rc=1
    exit $rc
    ;;
build)
    setup || exit 1
    build native win64
    ;;
run)
    setup || exit 1
    build win64 || exit 1
    if [ -z "${DISPLAY:-}" ]; then
        # headless: show it working on a virtual display and keep a screenshot
        ensure_display || exit 1
        trap stop_all EXIT
        mkdir -p build/run
        scripts/wine-run.sh build/win64/Zenvoral.exe --prueba edicion "$@" &
        sleep 8
        import -window root build/run/screen.png && echo "screenshot: build/run/screen.png"
        sleep 2
        WINEPREFIX="$ROOT/build/wineprefix" wineserver -k 2>/dev/null
        wait
    else
        exec scripts/wine-run.sh build/win64/Zenvoral.exe "$@"
    fi
    ;;
site)
    # the deployable web site in build/site (the download is the program, or the installer once built)
    setup || exit 1
    build win64 || exit 1
    python3 scripts/build_site.py build/site
    ;;
package)
    # build/Zenvoral-Setup-<version>.exe from the Windows build
    setup || exit 1
    build win64 || exit 1
    scripts/package.sh build/win64 build || exit 1
    ;;
bench)
    setup || exit 1
    build native || exit 1
    build win64 || exit 1
    build/native/zv_bench || exit 1
    # the search beside Fuse.js and MiniSearch (npm packages, installed into build/ on first use)
    if ! command -v npm >/dev/null; then
        SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
        $SUDO apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null || exit 1
    fi
    python3 bench/search_peers/run.py || exit 1
    python3 bench/wine_startup.py
    python3 bench/wine_library.py
    ;;
*)
    echo "usage: ./dev.sh test | run [options] | build | bench | site | package"
    exit 2
    ;;
esac
