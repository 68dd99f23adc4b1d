#!/usr/bin/env bash
# Builds the Debian package (`make package`, reusing the build folder), unpacks it into a fresh
# folder with `dpkg-deb -x` and checks it as an installed copy: every file where the FHS layout
# puts it, the menu entry, AppStream and MIME files valid, dependencies found by dpkg-shlibdeps
# and satisfiable, the installed program seeing the installed layout with per-user places, and a
# plan rendered to PDF by the installed zorvik-sheet (which links the system's Qt); the manual
# pages, copyright and changelog in agreement with the programs and the sources, and lintian
# without an error or a warning.
#
#   tools/check-package.sh [BUILD_FOLDER]     default: build
#
# Needs root only when `make package` has packages to install. Nothing outside a temporary
# folder is written apart from the package itself.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

make package BUILD="$build"
deb=$(ls -t "$build"/zorvik_*.deb | head -n 1)
echo "check-package: $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"
(cd "$root" && find . | sort) >"$work/packed.txt"

id=com.quorvane.zorvik
passed=0
failed=0
log=$work/check.log
# check NAME COMMAND...: runs the command quietly and counts it; its output is shown on failure.
check() {
  local name=$1
  shift
  if "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
    sed 's/^/    /' "$log"
  fi
}

# ---- the files where the layout puts them ----------------------------------------------------
for f in usr/bin/zorvik usr/bin/zorvik-sheet; do
  check "$f is an executable" test -x "$root/$f"
done
for f in usr/share/zorvik/YushiMaster.txt usr/share/zorvik/license.txt usr/share/zorvik/LoanHelp/index.html \
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml; do
  check "$f is present" test -s "$root/$f"
done
for f in usr/share/man/man1/zorvik.1.gz usr/share/man/man1/zorvik-sheet.1.gz usr/share/doc/zorvik/copyright \
  usr/share/doc/zorvik/changelog.gz usr/share/lintian/overrides/zorvik; do
  check "$f is present" test -s "$root/$f"
done
check "the shipped rate master is the source's" cmp res/YushiMaster.txt "$root/usr/share/zorvik/YushiMaster.txt"
check "the shipped licence is the source's" cmp res/license.txt "$root/usr/share/zorvik/license.txt"
check "bin holds the two programs only" test "$(ls "$root/usr/bin" | tr '\n' ' ')" = "zorvik zorvik-sheet "
check "nothing outside /usr" test "$(ls "$root")" = "usr"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in 48 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  check "icon ${size}x${size}" test "$(png_size "$icon" 2>/dev/null)" = "${size}x${size}"
done

# ---- the desktop files -------------------------------------------------------------------------
desktop=$root/usr/share/applications/$id.desktop
check "desktop-file-validate" desktop-file-validate "$desktop"
check "menu entry opens plans" grep -qx 'Exec=zorvik %f' "$desktop"
check "menu entry names the plan type" grep -qx 'MimeType=application/x-zorvik-plan;' "$desktop"
check "menu entry in Japanese" grep -qx 'Name\[ja\]=ゾルビク' "$desktop"
check "menu entry English fallback" grep -qx 'Name=Zorvik' "$desktop"
check "menu entry icon" grep -qx "Icon=$id" "$desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
check "metainfo carries the version" grep -q "version=\"$(dpkg-deb -f "$deb" Version)\"" \
  "$root/usr/share/metainfo/$id.metainfo.xml"
# The MIME database built from the package's entry maps *.zvk to the plan type.
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/$id.xml" "$work/mime/packages/"
check "update-mime-database" update-mime-database "$work/mime"
check "*.zvk is a plan" grep -qx 'application/x-zorvik-plan:\*\.zvk' "$work/mime/globs"

# ---- the package's control data --------------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
echo "check-package: Depends: $depends"
check "dpkg-shlibdeps found Qt Widgets" grep -q 'libqt6widgets6' <<<"$depends"
check "dpkg-shlibdeps found the C library" grep -q 'libc6' <<<"$depends"
check "Japanese fonts are a dependency" grep -q 'fonts-ipafont-gothic' <<<"$depends"
check "apt can install the package" apt-get install --simulate --no-install-recommends -q "./$deb"
for f in usr/bin/zorvik usr/bin/zorvik-sheet; do
  check "$f has no build-tree run path" bash -c "! readelf -d '$root/$f' | grep -q 'RUNPATH\|RPATH'"
done

# ---- the documents Debian asks for -----------------------------------------------------------
# The changelog's latest entry is this version (the package is native: no Debian revision).
gunzip -c "$root/usr/share/doc/zorvik/changelog.gz" >"$work/changelog"
check "the changelog's latest version is the package's" \
  test "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$(dpkg-deb -f "$deb" Version)"
# The licence in the copyright file is license.txt word for word: the stand-alone "proprietary"
# paragraph at its end, continuation lines unindented and "." standing for a blank line.
awk '/^License: proprietary$/ { text = ""; inside = 1; next }
     inside && /^ / { line = substr($0, 2); text = text (line == "." ? "" : line) "\n"; next }
     { inside = 0 }
     END { printf "%s", text }' "$root/usr/share/doc/zorvik/copyright" >"$work/copyright-licence"
iconv -f CP932 -t UTF-8 res/license.txt | tr -d '\r' >"$work/licence"
check "the copyright file carries license.txt" cmp "$work/licence" "$work/copyright-licence"
# Every option zorvik-sheet --help names is in its manual page (dashes are \- there).
for page in zorvik zorvik-sheet; do
  gunzip -c "$root/usr/share/man/man1/$page.1.gz" | sed 's/\\-/-/g' >"$work/$page.1"
done
for option in $("$root/usr/bin/zorvik-sheet" --help | grep -o -- '--[a-z-]*[a-z]' | sort -u) -o --output -h; do
  check "zorvik-sheet(1) explains $option" grep -qe "^\.B[IR]* .*$option\b" "$work/zorvik-sheet.1"
done
for option in --print-paths --screenshot; do
  check "zorvik(1) explains $option" grep -qe "^\.B[IR]* .*$option\b" "$work/zorvik.1"
done
for page in zorvik zorvik-sheet; do
  check "$page(1) names this version" grep -q "^\.TH .*\"Zorvik $(dpkg-deb -f "$deb" Version)\"" "$work/$page.1"
done
# Lintian's errors and warnings fail the check; its informational and pedantic notes are shown.
lintian_root=()
[ "$(id -u)" -eq 0 ] && lintian_root=(--allow-root)
check "lintian finds no error or warning" lintian "${lintian_root[@]}" --fail-on error,warning "$deb"
lintian "${lintian_root[@]}" --display-info --pedantic --fail-on none "$deb" | sed 's/^/check-package: lintian: /' || true

# ---- the installed programs --------------------------------------------------------------------
# A fresh home: the installed zorvik must see the installed layout, read the shipped files and
# put the user's folders under that home only.
home=$work/home
mkdir -p "$home"
paths=$work/paths.txt
check "installed zorvik prints its paths" \
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DOCUMENTS_DIR HOME="$home" QT_QPA_PLATFORM=offscreen \
  "$root/usr/bin/zorvik" --print-paths
cp "$log" "$paths"
expect() { grep -qxF "$1" "$paths"; }
check "layout is installed" expect "layout: installed"
check "rate master read from share/zorvik" expect "rate master: $root/usr/share/zorvik/YushiMaster.txt"
check "rate master downloaded per user" \
  expect "rate master download: $home/.local/share/Quorvane/zorvik/YushiMaster.txt"
check "licence read from share/zorvik" expect "license: $root/usr/share/zorvik/license.txt"
check "help read from share/zorvik" expect "help: $root/usr/share/zorvik/LoanHelp/index.html"
check "plans in Documents/LoanData" expect "plans: $home/Documents/LoanData"
check "plan folder made on first use" test -d "$home/Documents/LoanData"
check "Program folder per user" test -d "$home/.local/share/Quorvane/zorvik/Program"
check "the installed tree stays as packed" bash -c "cd '$root' && find . | sort | cmp - '$work/packed.txt'"

pdf=$work/sheet.pdf
check "installed zorvik-sheet renders a plan" \
  env QT_QPA_PLATFORM=offscreen "$root/usr/bin/zorvik-sheet" tests/print/data/ten_rows.zvk -o "$pdf"
check "the sheet is one PDF page" bash -c "pdfinfo '$pdf' | grep -qx 'Pages: *1'"

echo "check-package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
