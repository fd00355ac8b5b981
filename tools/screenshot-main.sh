#!/usr/bin/env bash
# Takes pictures of the main window started on a fresh sample, under Xvfb:
# the window itself, the selection dialog of a merge run, and the window while
# the run is in progress.
#   tools/screenshot-main.sh [OUT.png]     (default: docs/main-window.png; the
#   others go beside it as selection-dialog.png and merge-running.png)
# MARUBO_BUILD_DIR names the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prepare.sh
build="${MARUBO_BUILD_DIR:-build}"
marubo_install_packages
marubo_build "$build"

out="$(realpath -m "${1:-docs/main-window.png}")"
mkdir -p "$(dirname "$out")"
# A fixed folder, so that the paths in the picture stay the same from run to run.
work="${TMPDIR:-/tmp}/marubo-screenshot"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
"$build/tools/marubo-sample" "$work/sample" --remember-in "$work" >/dev/null
shot="$(realpath "$build/tools/main-window-shot")"
(cd "$work" && xvfb-run -a -s "-screen 0 1280x800x24" "$shot" . "$out")
echo "$out"
dialog="$(dirname "$out")/selection-dialog.png"
running="$(dirname "$out")/merge-running.png"
run="$(realpath "$build/tools/merge-run-shot")"
(cd "$work" && xvfb-run -a -s "-screen 0 1280x800x24" "$run" . "$dialog" "$running")
echo "$dialog"
echo "$running"
