#!/usr/bin/env bash
# Renders the configuration dialogs in known states to PNG files in docs/images/, at 96 DPI
# (NAME.png) and at 120 DPI (NAME-120dpi.png), under a virtual display. The dialogs are the real
# ones, held in each state by a test of the win64 build (DISABLED_ScreenshotStates) while this
# script photographs their windows with ImageMagick.
#   scripts/screenshots.sh [BUILD_DIR]     default: build/win64 (built first)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=$(realpath "${1:-build/win64}")
program="$build/tests/windows_tests.exe"
if [ ! -f "$program" ]; then
  echo "screenshots: $program is missing; build the win64 preset first" >&2
  exit 1
fi
for tool in import xwininfo xvfb-run; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "screenshots: $tool is missing; apt-get install imagemagick x11-utils xvfb" >&2
    exit 1
  fi
done
if [ -z "${SCREENSHOTS_DISPLAY_READY:-}" ]; then
  exec env SCREENSHOTS_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi

# The 64-bit loader: on PATH, or where Debian keeps it when only the 64-bit Wine is installed.
wine_cmd=wine
if command -v wine64 >/dev/null 2>&1; then
  wine_cmd=wine64
elif [ -x /usr/lib/wine/wine64 ]; then
  wine_cmd=/usr/lib/wine/wine64
fi
images=docs/images
mkdir -p "$images"

# Photographs window $1 into $2 once two frames in a row are alike: Wine copies a window's
# painting to the X server a little after the dialog has painted it, so the first frame of a
# newly shown window can lack its lists. The last frame is the picture.
photograph() {
  local frame previous="" shot
  shot=$(mktemp --suffix=.ppm)
  for _ in $(seq 50); do
    import -window "$1" "$shot"
    frame=$(md5sum <"$shot")
    [ "$frame" = "$previous" ] && break
    previous=$frame
    sleep 0.2
  done
  convert "$shot" "$2"
  rm -f "$shot"
}

# The id of the top-level X window with this title.
window_id() {
  xwininfo -root -tree | awk -v title="\"$1\":" 'index($0, title) { print $1; exit }'
}

for dpi in 96 120; do
  suffix=""
  [ "$dpi" != 96 ] && suffix="-${dpi}dpi"
  # One Wine prefix per DPI, kept beside the build (tests/windows/wine-run.sh makes it).
  prefix_home="$build/screenshots-$dpi"
  mkdir -p "$prefix_home"
  tests/windows/wine-run.sh "$prefix_home" "$program" --gtest_list_tests >/dev/null
  WINEPREFIX="$prefix_home/wineprefix" WINEDEBUG=-all "$wine_cmd" reg add \
    'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1

  markers=$(mktemp -d)
  log="$markers/run.log"
  GAGE_SCREENSHOT_DIR="Z:$markers" tests/windows/wine-run.sh "$prefix_home" "$program" \
    --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_ScreenshotStates' >"$log" 2>&1 &
  runner=$!
  # The test writes NAME.ready (the window's title) and waits until the picture is taken.
  while kill -0 "$runner" 2>/dev/null; do
    for marker in "$markers"/*.ready; do
      [ -e "$marker" ] || continue
      name=$(basename "$marker" .ready)
      id=$(window_id "$(cat "$marker")")
      if [ -n "$id" ]; then
        photograph "$id" "$images/$name$suffix.png"
        echo "screenshots: $images/$name$suffix.png"
      else
        echo "screenshots: no window titled \"$(cat "$marker")\" for $name" >&2
      fi
      rm -f "$marker"
    done
    sleep 0.2
  done
  if ! wait "$runner"; then
    cat "$log" >&2
    echo "screenshots: the dialog run failed at $dpi DPI" >&2
    exit 1
  fi
  rm -rf "$markers"
done
