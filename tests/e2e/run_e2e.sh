#!/usr/bin/env bash
# End-to-end run: our driver starts lekhopakar.exe in Wine's virtual desktop
# and drives it with real input. ctest runs this under xvfb-run.
#   run_e2e.sh <lekhopakar.exe> <lk_e2e_driver.exe> [workdir]
# Steps: the cases at 96 DPI in prefix build/e2e-prefix, the same prefix under a
# Nepali system locale for the code-page cases, then a 144-DPI step in
# build/e2e-prefix-dpi144 (client size and keypad scaled, and a screenshot at
# <workdir>/screenshot-144.png).
set -uo pipefail
exe=${1:?usage: run_e2e.sh <lekhopakar.exe> <lk_e2e_driver.exe> [workdir]}
driver=${2:?usage: run_e2e.sh <lekhopakar.exe> <lk_e2e_driver.exe> [workdir]}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${3:-$root/build/e2e-work}

if [ -z "${DISPLAY:-}" ]; then
  echo "run_e2e: no DISPLAY; run it under xvfb-run (ctest --preset windows does)" >&2
  exit 1
fi
for f in "$exe" "$driver"; do
  [ -f "$f" ] || { echo "run_e2e: missing $f (build the default target first)" >&2; exit 1; }
done
mkdir -p "$work"
rm -rf "$work/cases" "$work/nepali" "$work/dpi144"

# Wine sees the Linux root as drive Z:.
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

# Runs the driver with its output in a file: programs it starts hold on to its
# standard output, so a pipe would never end.
run_driver() {
  local log=$1; shift
  wine "$(winpath "$driver")" "$@" >"$log" 2>&1
  local status=$?
  cat "$log"
  return $status
}

status=0

# shellcheck source=../../scripts/wine-env
source "$root/scripts/wine-env" e2e-prefix
lk_make_prefix
lk_set_dpi 96
run_driver "$work/driver-96.log" "$(winpath "$exe")" "$(winpath "$work")\\cases" || status=1
wineserver -k 2>/dev/null || true

# A Nepali system locale, whose code page for non-Unicode programs is UTF-8
# (65001) under Wine: legacy glyphs and Devanagari titles must come through.
echo "--- Nepali system locale"
locales=$root/build/locale
mkdir -p "$locales"
[ -d "$locales/ne_NP.UTF-8" ] || localedef -i ne_NP -f UTF-8 "$locales/ne_NP.UTF-8" >/dev/null 2>&1 || true
LC_ALL=ne_NP.UTF-8 LOCPATH=$locales run_driver "$work/driver-ne.log" "$(winpath "$exe")" "$(winpath "$work")\\nepali" \
  --expect-acp 65001 \
  --only target_legacy_round_trip_any_code_page,target_devanagari_titles_pick_the_right_window || status=1
wineserver -k 2>/dev/null || true

echo "--- 144 DPI"
source "$root/scripts/wine-env" e2e-prefix-dpi144
lk_make_prefix
lk_set_dpi 144
run_driver "$work/driver-144.log" "$(winpath "$exe")" "$(winpath "$work")\\dpi144" \
  --expect-dpi 144 --only client_size_follows_dpi,keypad_grid || status=1
# A picture of the toolbar at 144 DPI for people to look at.
if ! LK_EXE=$exe LK_DRIVER=$driver LK_PREFIX_NAME=e2e-prefix-dpi144 LK_SCREENSHOT_DISPLAY=$DISPLAY \
    "$root/scripts/screenshot" 144 "$work/screenshot-144.png"; then
  echo "FAIL screenshot at 144 DPI"
  status=1
fi
wineserver -k 2>/dev/null || true

echo "e2e: exit status $status"
exit $status
