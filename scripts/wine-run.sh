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
    exec 5< <(Xvfb -displayfd 1 -screen 0 1280x1200x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
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

# Fonts: the overlay asks for Bahnschrift and Segoe UI, which Wine lacks, and draws symbols
# such as "✓" and "›" that Wine's own fonts have no glyph for. Roboto Condensed (Debian's
# fonts-roboto-unhinted) stands in for the narrow Bahnschrift and DejaVu Sans (fonts-dejavu-core)
# for Segoe UI, so screenshots show what players see. Done once per prefix (the marker names
# the mapping's revision); the program itself copes without it.
fonts_done="$WINEPREFIX/drive_c/windows/Fonts/.zenvoral-fonts-2"
if [ ! -f "$fonts_done" ]; then
    fontdir="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fontdir"
    for f in dejavu/DejaVuSans.ttf dejavu/DejaVuSans-Bold.ttf roboto/unhinted/RobotoCondensed-Regular.ttf \
             roboto/unhinted/RobotoCondensed-Medium.ttf roboto/unhinted/RobotoCondensed-Bold.ttf; do
        cp -f "/usr/share/fonts/truetype/$f" "$fontdir/" 2>/dev/null
    done
    reg=$(mktemp --suffix=.reg)
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"Bahnschrift"="Roboto Condensed"\r\n"Segoe UI"="DejaVu Sans"\r\n' >"$reg"
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 && touch "$fonts_done"
    rm -f "$reg"
fi

appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Zenvoral"
[ $fresh -eq 1 ] && rm -rf "$appdata"

wine "$@"
