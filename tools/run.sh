#!/usr/bin/env bash
# Starts Zorvik from its build folder, which is laid out as an install folder.
set -eu
build=${1:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Zorvik needs a graphical display (none found: DISPLAY and WAYLAND_DISPLAY are empty). Without one, run it under Xvfb: cd $build && xvfb-run -a ./zorvik" >&2
  exit 1
fi
cd "$build"
exec ./zorvik
