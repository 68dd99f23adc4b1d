#!/usr/bin/env bash
# Starts Zorvik from its build folder, which is a portable copy: the program with
# YushiMaster.txt, license.txt and LoanHelp/ beside it. The build folder is the working folder,
# so the folders Program, LoanData and LoanHelp of the default settings are made there and never
# in the user's home.
set -eu
build=${1:-build}
if [ ! -x "$build/zorvik" ]; then
  echo "zorvik: $build/zorvik is not built yet; run 'make build' first." >&2
  exit 1
fi
for f in YushiMaster.txt license.txt LoanHelp/index.html; do
  [ -e "$build/$f" ] || echo "zorvik: note: $build/$f is missing; re-run cmake to copy it into the build folder." >&2
done
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  if command -v xvfb-run >/dev/null 2>&1; then how="cd $build && xvfb-run -a ./zorvik"; else how="install xvfb, then: cd $build && xvfb-run -a ./zorvik"; fi
  echo "Zorvik needs a graphical display and none was found (DISPLAY and WAYLAND_DISPLAY are empty); to run it without one: $how" >&2
  exit 1
fi
cd "$build"
exec ./zorvik
