#!/usr/bin/env bash
# Runs a Windows program under the project's own Wine prefix (build/wineprefix, made on first
# use), quietly, on the current display or a virtual one started for this run.
#   scripts/wine-run.sh [--fresh] EXE [args...]
#   --fresh  empties the program folder ("Zenvoral" under the roaming application data) first
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${ZV_WINEPREFIX:-$ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
export WINEARCH=win64

fresh=0
if [ "${1:-}" = "--fresh" ]; then fresh=1; shift; fi
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--fresh] EXE [args]"; exit 2; }

started_x=""
if [ -z "${DISPLAY:-}" ]; then
    exec 5< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
    read -r line <&5; started_x=${line#pid }
    read -r -t 20 num <&5 || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$num"
fi
cleanup() {
    if [ -n "$started_x" ]; then
        wineserver -k 2>/dev/null
        kill "$started_x" 2>/dev/null
    fi
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi

appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Zenvoral"
[ $fresh -eq 1 ] && rm -rf "$appdata"

wine "$@"
