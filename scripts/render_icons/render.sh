#!/bin/sh
# Renders every icon listed in src/window/resources/velnora.qrc to PNG contact sheets.
#   scripts/render_icons/render.sh [output directory]     (default: /tmp/velnora-icons)
# Builds the small renderer with the installed Qt 6 in a temporary tree, checks that each SVG
# keeps to the subset the program's SVG renderer draws, and writes contact.png (every icon at
# 16, 24 and 48 px and a 16 px enlargement, on a light and a dark background) contact-toolbar.png and contact-tree.png (the same in two parts) and strips.png
# (toolbar and tree as they appear in the window, the application icon at its sizes).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
out=${1:-/tmp/velnora-icons}
build=${TMPDIR:-/tmp}/velnora-render-icons-build
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
mkdir -p "$out"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/render_icons" "$repo/src/window/resources/velnora.qrc" "$out"
