#!/usr/bin/env bash
# End-to-end smoke test: the real editor in a real X server (run under scripts/with-xvfb).
#
#   smoke.sh <tarnwick> <tarnwick-cli> <artefact dir>
#
# Makes a sample game folder, starts the editor from a fresh folder with a
# settings file pointing at it, waits for the main window after the splash,
# opens the selected file from the keyboard, checks the title, renames unit 1,
# commits with F12 and saves with Ctrl+S, walks the unit list with the keyboard
# and renames unit 2, commits another name and takes it back with Edit > Undo
# before saving, checks the file on disk, shows the
# about box, takes screenshots, and leaves through the exit question.

set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 <tarnwick> <tarnwick-cli> <artefact dir>" >&2
    exit 2
fi
prog=$(readlink -f "$1")
cli=$(readlink -f "$2")
art=$3
mkdir -p "$art"
art=$(readlink -f "$art")

for tool in xdotool import; do
    command -v "$tool" >/dev/null || { echo "smoke: FAIL: $tool is not installed" >&2; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "smoke: FAIL: no DISPLAY (run under scripts/with-xvfb)" >&2; exit 1; }
[ -x "$prog" ] || { echo "smoke: FAIL: $prog is not an executable" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-e2e.XXXXXX")
work=$(readlink -f "$work")
pid=""

cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
        kill -9 "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

step() { echo "smoke: $*"; }
fail() {
    echo "smoke: FAIL: $*" >&2
    import -window root "$art/e2e-failure.png" 2>/dev/null && echo "smoke: screen saved in $art/e2e-failure.png" >&2
    if [ -s "$art/e2e-program-stderr.log" ]; then
        echo "smoke: the program's error output:" >&2
        tail -n 20 "$art/e2e-program-stderr.log" >&2
    fi
    exit 1
}
alive() { kill -0 "$pid" 2>/dev/null; }

# --- the game folder and the settings file --------------------------------------
game="$work/game"
bindir="$work/bin"
mkdir -p "$bindir" "$work/config"
if "$cli" make-demo "$game" >"$art/e2e-make-demo.log" 2>&1 && [ -f "$game/TWFTK.ini" ]; then
    step "sample folder made by tarnwick-cli make-demo"
    cp "$game/TWFTK.ini" "$bindir/TWFTK.ini"
else
    step "tarnwick-cli make-demo unavailable; writing a minimal folder by hand"
    mkdir -p "$game"
    head -c 106680 /dev/zero >"$game/obat012.obf"
    printf '[Tarnwick]\r\nDefaultDir=%s\r\nHints=1\r\nHintDelay=1\r\n[NationNames]\r\ntarn12=Smoke Test Land\r\n' \
        "$game" >"$bindir/TWFTK.ini"
fi

# The file list selects the lowest-numbered nation that has a file.
first=$(cd "$game" && ls obat[0-9][0-9][0-9].obf 2>/dev/null | sort | head -1)
[ -n "$first" ] || fail "no OOB file in the sample folder $game"
nation=$((10#${first:4:3}))
dir=$(sed -n 's/^DefaultDir=\(.*\)\r\{0,1\}$/\1/p' "$bindir/TWFTK.ini" | tr -d '\r' | head -1)
name=$(sed -n "s/^tarn${nation}=\(.*\)\$/\1/p" "$bindir/TWFTK.ini" | tr -d '\r' | head -1)
[ -n "$name" ] || name="*NO INI FILE!*"
row=$(printf 'obat%02d - %s' "$nation" "$name")
expected="Tarnwick for GH:FTK : $dir/$row"
step "expecting the title after the open: $expected"

cp "$prog" "$bindir/tarnwick"
helpPage="$(dirname "$prog")/TWGHFTXHelp.htm"
[ -f "$helpPage" ] && cp "$helpPage" "$bindir/"

# --- start ----------------------------------------------------------------------
unset QT_QPA_PLATFORM
export DBUS_SESSION_BUS_ADDRESS=disabled:
export XDG_CONFIG_HOME="$work/config"
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi

cd "$work" || fail "cannot enter $work"
"$bindir/tarnwick" >"$art/e2e-program-stdout.log" 2>"$art/e2e-program-stderr.log" &
pid=$!
step "started tarnwick (pid $pid)"

# The splash comes first; catch it on screen if we can (not a failure if missed).
for _ in $(seq 1 20); do
    splash=$(xdotool search --onlyvisible --name '^Tarnwick$' 2>/dev/null | head -1)
    if [ -n "$splash" ]; then
        import -window root "$art/e2e-splash.png" 2>/dev/null && step "splash seen (e2e-splash.png)"
        break
    fi
    alive || break
    sleep 0.05
done

wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarnwick for GH' 2>/dev/null | head -1)
alive || fail "tarnwick ended before its main window appeared"
[ -n "$wid" ] || fail "no main window titled 'Tarnwick for GH...' within 20 s"
title=$(xdotool getwindowname "$wid")
step "main window $wid: $title"
case "$title" in
    "Tarnwick for GH:FTK : No File Loaded"*) ;;
    *) fail "start-up title is '$title', expected it to begin with 'Tarnwick for GH:FTK : No File Loaded'" ;;
esac
# The splash is gone once the main window is up.
[ -z "$(xdotool search --onlyvisible --name '^Tarnwick$' 2>/dev/null)" ] || fail "the splash window is still shown"

# --- open the selected file from the keyboard ---------------------------------------
sleep 0.5
# No window manager: a click gives the window the keyboard. Click on the window's
# status bar area, away from any button.
geometry=$(xdotool getwindowgeometry --shell "$wid")
eval "$geometry"
xdotool mousemove --window "$wid" $((WIDTH / 2)) $((HEIGHT - 6)) click 1
sleep 0.3
wait_for_title() {  # tenths of a second
    for _ in $(seq 1 "$1"); do
        title=$(xdotool getwindowname "$wid" 2>/dev/null)
        [ "$title" = "$expected" ] && return 0
        alive || fail "tarnwick ended while opening the file"
        sleep 0.1
    done
    return 1
}
# The file list has the keyboard focus at start-up: Down chooses the next nation
# that has a file only if it exists, so just Return on the selected row.
xdotool key --clearmodifiers Return
wait_for_title 50 || fail "Return in the file list did not open the selected file (title '$title', expected '$expected')"
step "file opened: $title"
sleep 0.7
import -window root "$art/e2e-main-window.png" || fail "screenshot failed"
step "screenshot: $art/e2e-main-window.png"

# --- rename unit 1, commit, save ------------------------------------------------------
# Opening lands on the Units page at unit 1 with the keyboard in its name field.
unit_name() {  # the stored name of unit $1 in the file on disk
    "$cli" buffer-export "$game/$first" --nation "$nation" --kind unit -o "$work/units.csv" >/dev/null 2>&1 \
        && awk -F, -v slot="$1" '$1 == slot { print $2; exit }' "$work/units.csv"
}
unit1_name() { unit_name 1; }
before=$(unit1_name)
[ -n "$before" ] || fail "could not read unit 1 of $first with tarnwick-cli"
[ "$before" != "Smoke Edit" ] || fail "unit 1 is already named 'Smoke Edit'"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 30 " Smoke Edit "
sleep 0.2
xdotool key --clearmodifiers F12
sleep 0.3
xdotool key --clearmodifiers ctrl+s
after=""
for _ in $(seq 1 50); do
    after=$(unit1_name)
    [ "$after" = "Smoke Edit" ] && break
    alive || fail "tarnwick ended while committing and saving"
    sleep 0.1
done
[ "$after" = "Smoke Edit" ] \
    || fail "after typing ' Smoke Edit ', F12 and Ctrl+S unit 1 in $first is named '$after' (was '$before'), expected 'Smoke Edit'"
step "unit 1 renamed from '$before' to '$after', committed and saved"
import -window root "$art/e2e-unit-saved.png" 2>/dev/null

# --- walk the unit list with the keyboard, rename unit 2 ---------------------------------
# Shift+Tab reaches the unit list, Down shows unit 2 and keeps the keyboard in the
# list, Tab goes on to the name field of the unit shown.
xdotool key --clearmodifiers shift+Tab
sleep 0.2
xdotool key --clearmodifiers Down
sleep 0.2
xdotool key --clearmodifiers Tab ctrl+a
xdotool type --delay 30 "Smoke Walk"
sleep 0.2
xdotool key --clearmodifiers F12
sleep 0.3
xdotool key --clearmodifiers ctrl+s
walked=""
for _ in $(seq 1 50); do
    walked=$(unit_name 2)
    [ "$walked" = "Smoke Walk" ] && break
    alive || fail "tarnwick ended while walking the unit list"
    sleep 0.1
done
[ "$walked" = "Smoke Walk" ] \
    || fail "Down in the unit list, Tab, typing, F12 and Ctrl+S left unit 2 named '$walked', expected 'Smoke Walk'"
[ "$(unit1_name)" = "Smoke Edit" ] || fail "walking the unit list changed unit 1 to '$(unit1_name)'"
step "unit list walked with the keyboard: unit 2 renamed, unit 1 kept"

# --- commit, undo through the Edit menu, save ---------------------------------------------
# The commit marks the title as modified; Edit > Undo takes it back and the save
# writes unit 2 as it was.
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 30 "Smoke Undo"
sleep 0.2
xdotool key --clearmodifiers F12
marked=""
for _ in $(seq 1 30); do
    title=$(xdotool getwindowname "$wid" 2>/dev/null)
    [ "$title" = "$expected*" ] && { marked=yes; break; }
    sleep 0.1
done
[ -n "$marked" ] || fail "after a commit the title is '$title', expected '$expected*'"
xdotool key --clearmodifiers alt+e
sleep 0.3
import -window root "$art/e2e-edit-menu.png" 2>/dev/null
xdotool key --clearmodifiers u
sleep 0.3
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 1 30); do
    title=$(xdotool getwindowname "$wid" 2>/dev/null)
    [ "$title" = "$expected" ] && break
    sleep 0.1
done
[ "$title" = "$expected" ] || fail "after Edit > Undo and Ctrl+S the title is '$title', expected '$expected'"
[ "$(unit_name 2)" = "Smoke Walk" ] \
    || fail "after Edit > Undo and Ctrl+S unit 2 is named '$(unit_name 2)', expected 'Smoke Walk'"
step "commit undone through Edit > Undo and saved: unit 2 kept its name"

# --- the about box from the Help menu -----------------------------------------------
xdotool key --clearmodifiers alt+h
sleep 0.3
xdotool key --clearmodifiers a
about=$(timeout 10 xdotool search --sync --onlyvisible --name '^About Tarnwick For GH:FTK$' 2>/dev/null | head -1)
[ -n "$about" ] || fail "Help > About... showed no about box"
sleep 0.4
import -window root "$art/e2e-about.png" || fail "screenshot failed"
step "about box shown (e2e-about.png)"
xdotool key --clearmodifiers Return
gone=""
for _ in $(seq 1 50); do
    [ -z "$(xdotool search --onlyvisible --name '^About Tarnwick For GH:FTK$' 2>/dev/null)" ] && { gone=yes; break; }
    sleep 0.1
done
[ -n "$gone" ] || fail "Enter did not close the about box"

# --- leave through the exit question --------------------------------------------------
xdotool mousemove --window "$wid" $((WIDTH / 2)) $((HEIGHT - 6)) click 1
sleep 0.2
xdotool key --clearmodifiers alt+x
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Program Exit$' 2>/dev/null | head -1)
[ -n "$box" ] || fail "Alt+X showed no 'Program Exit' question"
sleep 0.3
import -window root "$art/e2e-exit-question.png" 2>/dev/null
xdotool key --clearmodifiers y
for _ in $(seq 1 100); do
    alive || break
    sleep 0.1
done
alive && fail "tarnwick still runs 10 s after answering Yes to the exit question"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "tarnwick ended with status $status"
step "PASS: started, opened $first, saved edited unit names, walked the unit list, showed the about box and ended cleanly"
exit 0
