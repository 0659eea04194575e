#!/usr/bin/env bash
# Builds the program and starts it in an application folder seeded from data/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
APPDIR="${TALVENOR_APPDIR:-$PWD/appdir}"
mkdir -p "$APPDIR"
# Seed the shipped files once; the operator's own files there are never overwritten.
cp -rn data/. "$APPDIR"/
cd "$APPDIR"
exec "$OLDPWD/build/talvenor" "$@"
