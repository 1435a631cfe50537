#!/usr/bin/env bash
# Runs one cross-built test program of tests/quorva (NAME.exe in <windows build>/tests) under the
# Wine this machine runs, in the e2e prefix; its exit code is the test's. Exit 77 (skipped) where
# no Wine starts. Environment as for the scenarios: E2E_BUILD, E2E_WINEPREFIX.
set -euo pipefail
name=${1:?usage: run_under_wine.sh NAME}
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${E2E_BUILD:-$repo/build}
export WINEPREFIX=${E2E_WINEPREFIX:-$build/e2e/wine-prefix}
source "$repo/scripts/wine-env.sh"
wine_env_select "$build" || exit 77
exe="$(dirname "$VENDREL_WINE_PROBES")/tests/$name.exe"
[ -f "$exe" ] || { echo "run_under_wine: $exe is not built" >&2; exit 1; }
bash "$repo/scripts/wine-prefix" "$WINEPREFIX" >&2 || { echo "run_under_wine: no Wine prefix" >&2; exit 1; }
status=0
timeout 120 wine "$exe" || status=$?
wineserver -w 2>/dev/null || true
exit "$status"
