#!/bin/sh
# The desktop program driven from the keyboard alone, as a user without a mouse drives it:
# the real program, on the display xvfb-run gives it, under a window manager.
#   1. Korvex starts with no settings; its sheet is empty.
#   2. Alt+K G opens the conversion dialog with the focus in the input box; Tab and Space
#      open the input's file dialog, Escape closes it, Shift+Tab goes back to the box.
#   3. The input path is typed, Tab Tab reach the output box, the output path is typed,
#      Enter presses Generate: the file is written, the same bytes as korvex-cli writes.
#   4. With the dialog still open, the main window's title names the file and its sheet
#      shows the shapes; Escape goes back to it, Alt+F X ends the program with status 0.
#   5. Nothing was printed to the terminal all along.
#
# Usage: keyboard_conversion_test.sh KORVEX KORVEX_CLI DRAWING.dxf    (under xvfb-run)
# Exits 77 (skipped) when xdotool, openbox or ImageMagick is missing.
set -eu

program=$1
cli=$2
drawing=$3

for tool in xdotool xwininfo openbox import convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "keyboard_conversion_test: $tool is missing (scripts/setup installs it): skipped"
    exit 77
  fi
done
[ -n "${DISPLAY:-}" ] || { echo "keyboard_conversion_test: run it under xvfb-run" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/korvex-keys-XXXXXX")
openbox_pid=
korvex_pid=
cleanup() {
  for pid in $korvex_pid $openbox_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

say() { echo "keyboard_conversion_test: $*"; }
fail() {
  import -window root "$work/screen.png" 2>/dev/null &&
    cp "$work/screen.png" "${TMPDIR:-/tmp}/korvex-keyboard-failure.png" 2>/dev/null || true
  say "FAILED: $* (the screen is in ${TMPDIR:-/tmp}/korvex-keyboard-failure.png)" >&2
  [ -s "$work/korvex.err" ] && sed 's/^/  Korvex: /' "$work/korvex.err" >&2
  exit 1
}

# Waits for a visible window titled $1 that is not one of the IDs in $2; prints its ID.
wait_new_window() {
  tries=0
  while [ "$tries" -lt 100 ]; do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true); do
      case " $2 " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    tries=$((tries + 1))
    sleep 0.1
  done
  fail "no window \"$1\" appeared"
}

wait_gone() {
  tries=0
  while xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || fail "window $1 stayed open"
    sleep 0.1
  done
}

# Waits until window $1 has the keyboard, so that keys go where a user's would.
wait_active() {
  tries=0
  until [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || fail "window $1 did not get the keyboard"
    sleep 0.1
  done
}

wait_title() {
  tries=0
  until [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || fail "the title is \"$(xdotool getwindowname "$1")\", not \"$2\""
    sleep 0.1
  done
}

# The number of pixels in the stroke colour of the sheet's shapes (a dark blue), in the
# part of window $1 above the screen row $2.
stroke_pixels() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4}
    /Absolute upper-left Y/ {print "y=" $4} /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
  [ "$2" -lt $((y + h)) ] && h=$(($2 - y))
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/sheet.png"
  convert "$work/sheet.png" -fuzz 12% -fill black -opaque "rgb(13,38,140)" -fuzz 0 \
    -fill white +opaque black -format "%[fx:round((1-mean)*w*h)]" info:
}

openbox >"$work/openbox.log" 2>&1 &
openbox_pid=$!
sleep 1

say "starting Korvex with no settings"
mkdir -p "$work/config" "$work/drawings"
cp "$drawing" "$work/drawings/shapes.dxf"
(cd "$work" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/korvex.out" \
  2>"$work/korvex.err" &
korvex_pid=$!
main=$(wait_new_window Korvex "")
wait_active "$main"
sleep 0.5
[ "$(stroke_pixels "$main" 100000)" -eq 0 ] || fail "the sheet is not empty at the start"

say "Alt+K G: the conversion dialog"
xdotool key alt+k
sleep 0.5
xdotool key g
dialog=$(wait_new_window Korvex "$main")
wait_active "$dialog"

say "Tab Space: the input's file dialog; Escape; Shift+Tab back to the input box"
xdotool key Tab space
browse=$(wait_new_window "Select DXF file to Convert to AutoCAD SHP files" "")
wait_active "$browse"
sleep 0.5
xdotool key Escape
wait_gone "$browse"
wait_active "$dialog"
xdotool key shift+Tab

say "typing the paths, Enter"
xdotool key ctrl+a
xdotool type --delay 5 "$work/drawings/shapes.dxf"
xdotool key Tab Tab
xdotool type --delay 5 "$work/drawings/typed"
xdotool key Return
message=$(wait_new_window Korvex "$main $dialog")
wait_active "$message"
written="$work/drawings/typed.shp"
[ -s "$written" ] || fail "no typed.shp was written (the output box takes .shp)"
"$cli" convert "$work/drawings/shapes.dxf" -o "$work/cli.shp" >/dev/null
cmp -s "$written" "$work/cli.shp" || fail "typed.shp differs from korvex-cli's"
xdotool key Return
wait_gone "$message"
wait_active "$dialog"

say "the sheet behind the open dialog"
wait_title "$main" "Korvex - typed.shp"
xwininfo -id "$dialog" | grep -q IsViewable || fail "the dialog closed after the conversion"
dialog_top=$(xwininfo -id "$dialog" | awk '/Absolute upper-left Y/ {print $4}')
strokes=$(stroke_pixels "$main" "$dialog_top")
[ "$strokes" -gt 200 ] || fail "the sheet shows no shapes ($strokes stroke pixels)"

say "Escape: back to the main window; Alt+F X"
xdotool key Escape
wait_gone "$dialog"
wait_active "$main"
xdotool key alt+f
sleep 0.5
xdotool key x
status=0
wait "$korvex_pid" || status=$?
korvex_pid=
[ "$status" -eq 0 ] || fail "Korvex ended with status $status"

if [ -s "$work/korvex.out" ] || [ -s "$work/korvex.err" ]; then
  sed 's/^/  Korvex: /' "$work/korvex.out" "$work/korvex.err" >&2
  fail "Korvex printed to the terminal"
fi
say "passed ($strokes stroke pixels on the sheet; nothing printed)"
