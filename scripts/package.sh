#!/usr/bin/env bash
# Makes the setup program: scripts/package.sh <win64 build dir> <output dir> [exe]
# Writes <output dir>/Zenvoral-Setup-<version>.exe, the version taken from the program's source;
# a third argument packs another build of the program (the tests' newer build).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "$1" && pwd)
OUT=$(mkdir -p "$2" && cd "$2" && pwd)
EXE=${3:-$BUILD/Zenvoral.exe}
VERSION=$(sed -n 's/.*ZV_VERSION = u"\([0-9.]*\)".*/\1/p' "$ROOT/src/base/endpoints.h")
[ -n "$VERSION" ] || { echo "no version found"; exit 1; }
SETUP=${SETUP_NAME:-Zenvoral-Setup-$VERSION.exe}
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DEXE="$EXE" -DICON="$BUILD/gen/zenvoral.ico" \
    -DOUTFILE="$OUT/$SETUP" "$ROOT/installer/zenvoral.nsi"
echo "$OUT/$SETUP"
