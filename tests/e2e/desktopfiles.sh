#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the desktop integration
# there: the desktop entry and the AppStream metainfo pass their validators
# (when installed), the MIME type maps *.obf, the entry opens that type with
# the file, and every icon size is in place.
# Usage: desktopfiles.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
fail() { echo "desktopfiles: $*" >&2; exit 1; }

entry=$share/applications/tarnwick.desktop
[ -f "$entry" ] || fail "no desktop entry"
grep -qx 'Exec=tarnwick %f' "$entry" || fail "the entry does not pass the file to the program"
grep -qx 'MimeType=application/x-tarnwick-oob;' "$entry" || fail "the entry names no MIME type"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refused the entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "appstreamcli refused the metainfo"
fi
if command -v update-mime-database >/dev/null; then
  update-mime-database "$share/mime"
  grep -q '^50:application/x-tarnwick-oob:\*\.obf$' "$share/mime/globs2" || fail "*.obf is not the OOB type"
fi
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/tarnwick.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  # The width and height of a PNG are the big-endian words at bytes 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
[ -f "$share/icons/hicolor/scalable/apps/tarnwick.svg" ] || fail "no scalable icon"
[ -f "$share/man/man1/tarnwick-cli.1" ] || fail "no man page"
[ -f "$share/bash-completion/completions/tarnwick-cli" ] || fail "no bash completion"
# The editor answers --help and --version without a display.
for option in --help --version; do
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/tarnwick" $option >/dev/null \
    || fail "tarnwick $option needs a display"
done
echo "desktopfiles: the installed desktop files are sound"
