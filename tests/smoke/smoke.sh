#!/usr/bin/env bash
# Real-window smoke test under Xvfb: Velmora starts beside the stand-in emulator, games are
# configured and started with the keyboard alone and with the mouse, and the window is closed
# from its menu. Every wait is for something to happen, never for a while.
#   smoke.sh <laid-out emulator directory> [--wm]
# With --wm, a window manager (openbox) frames the window first: the frame's outer size must
# be the profile's, and be written back unchanged.
set -euo pipefail
template=$1
with_wm=${2:-}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
emu="$work/My Games/zinc"
mkdir -p "$work/My Games" "$work/home"
cp -r "$template" "$emu"
export XDG_CONFIG_HOME="$work/home"
export QT_QPA_PLATFORM=xcb  # a real window on the X server, whatever the caller asked for
export ZINC_STANDIN_GAMES=12
export ZINC_STANDIN_LOG="$work/runs.log"
export VELMORA_SAMPLE_PLUGIN_AUTO="Width=1280"
profile="$work/home/Velmora/Velmora.conf"

fail() {
    echo "smoke: $*" >&2
    exit 1
}
# Polls until the command succeeds: at most 20 s, so a busy machine has time. The command is
# run anew each time; a "$(...)" in its arguments would be read once, before the first try, so
# whatever must be read again goes into a function.
until_true() {
    for _ in $(seq 400); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_for_window() {
    local id
    for _ in $(seq 400); do
        id=$(window_named "$1" || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}
gone() { [ -z "$(window_named "$1" || true)" ]; }
windows_of_velmora() { xdotool search --onlyvisible --pid "$velmora" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(windows_of_velmora)" -gt "$1" ]; }
# A menu's Alt key, then the item's letter once the menu is up.
menu_item() {
    local before
    before=$(windows_of_velmora)
    xdotool windowfocus --sync "$main" key "$1"
    until_true more_windows_than "$before" || fail "$1 did not open its menu"
    xdotool key "$2"
}
config_menu() { menu_item alt+c "$1"; }
game_menu() { menu_item alt+g "$1"; }
game_running() { grep -q "^start $1 --use-config-file=$emu/cfg/" "$ZINC_STANDIN_LOG"; }
profile_value() { sed -n "s/^$1=//p" "$profile"; }
# Gone, or a zombie waiting for this script to reap it.
ended() { ! ps -o stat= -p "$velmora" | grep -qv Z; }

if [ "$with_wm" = --wm ]; then
    openbox --startup "touch $work/wm-ready" &
    until_true [ -e "$work/wm-ready" ] || fail "the window manager did not start"
fi

"$emu/Velmora" &
velmora=$!
main=$(wait_for_window "A small ZiNc frontend - Velmora") || fail "the main window never showed"
# The help run may still be going when the window shows: its end is waited for.
runs_logged() { [ "$(wc -l <"$ZINC_STANDIN_LOG")" -ge "$1" ]; }
until_true runs_logged 4 || fail "the emulator's start-up runs did not end: $(cat "$ZINC_STANDIN_LOG")"
[ "$(cat "$ZINC_STANDIN_LOG")" = $'start --list-games\nend --list-games\nstart\nend' ] ||
    fail "the emulator's start-up runs overlapped: $(cat "$ZINC_STANDIN_LOG")"

if [ "$with_wm" = --wm ]; then
    # The window manager's frame is the client window's parent.
    frame=$(xwininfo -tree -id "$main" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    size() { xwininfo -id "$frame" | sed -n "s/^ *$1: *//p"; }
    outer_size_is() { [ "$(size Width)x$(size Height)" = "$1" ]; }
    until_true outer_size_is 515x480 ||
        fail "the outer size is $(size Width)x$(size Height), not 515x480"
    outer_width=$(size Width)
    outer_height=$(size Height)
fi

# Keyboard alone: Home selects the first row, Alt+C C configures it, Escape cancels.
xdotool windowfocus --sync "$main" key Home
config_menu c
dialog=$(wait_for_window "Configure game - 1 Amber Anchor") ||
    fail "Home, Alt+C, C did not open the dialog for the first row"
xdotool windowfocus --sync "$dialog" key Escape
until_true gone "Configure game - " || fail "Escape did not close the dialog"

# Down and Return on the second row, not configured yet: the question, and Return (Yes)
# opens its configuration.
xdotool windowfocus --sync "$main" key Down Return
question=$(wait_for_window "^Velmora$") || fail "Return on an unconfigured game did not ask"
xdotool windowfocus --sync "$question" key Return
dialog=$(wait_for_window "Configure game - 2 ") || fail "Yes did not open the dialog"
# From the first button: past the sound button to the renderer list, pick the next renderer,
# on past its button to OK.
xdotool windowfocus --sync "$dialog" key Tab Tab Down Tab Tab Return
# The dialog closes once OK has written all three files, the snapshot last.
until_true gone "Configure game - " || fail "OK did not close the dialog"
[ -s "$emu/cfg/Velmora002.cfg" ] || fail "OK did not write the game options file"
grep -q -- "--renderer=libvelmora_renderer_plain.so" "$emu/cfg/Velmora002.cfg" ||
    fail "the renderer picked with the keyboard was not saved"
[ -f "$emu/cfg/Velmora002_registry.cfg" ] || fail "OK did not write the settings snapshot"

# Back on the list, Return starts the now configured game.
xdotool windowfocus --sync "$main" key Return
until_true game_running 2 || fail "Return did not start the configured game"

# The Game menu on game 2, still selected, with the keyboard alone. Copy to game 5: type its
# number, Space ticks it, Return copies; the copy's options name game 5's own files.
game_menu c
dialog=$(wait_for_window "Copy settings to other games - 2 ") || fail "Alt+G, C opened no dialog"
xdotool windowfocus --sync "$dialog" type 5
xdotool key space Return
until_true gone "Copy settings to other games" || fail "Return did not copy"
grep -q -- "--renderer=libvelmora_renderer_plain.so" "$emu/cfg/Velmora005.cfg" ||
    fail "game 5 did not get game 2's options"
! grep -q "Velmora002" "$emu/cfg/Velmora005.cfg" || fail "game 5's options name game 2's files"
# Export into a file of our own naming.
game_menu e
dialog=$(wait_for_window "^Export settings$") || fail "Alt+G, E opened no file dialog"
xdotool windowfocus --sync "$dialog" key ctrl+a
xdotool type "$work/game2.velmora"
xdotool key Return
until_true [ -s "$work/game2.velmora" ] || fail "the export wrote no file"
# Remove: No is the default, then Yes removes the three files.
game_menu m
question=$(wait_for_window "^Remove settings$") || fail "Alt+G, M did not ask"
xdotool windowfocus --sync "$question" key Return
until_true gone "^Remove settings$" || fail "Return did not answer the question"
[ -e "$emu/cfg/Velmora002.cfg" ] || fail "Return, the default No, removed the settings"
game_menu m
question=$(wait_for_window "^Remove settings$") || fail "Alt+G, M did not ask again"
xdotool windowfocus --sync "$question" key alt+y
until_true [ ! -e "$emu/cfg/Velmora002.cfg" ] || fail "Yes did not remove the settings"
# Import the exported file back.
game_menu i
dialog=$(wait_for_window "^Import settings$") || fail "Alt+G, I opened no file dialog"
xdotool windowfocus --sync "$dialog" type "$work/game2.velmora"
xdotool key Return
until_true [ -s "$emu/cfg/Velmora002.cfg" ] || fail "the import wrote no options file"
# Set up game pad: Escape skips each question, and with none left closes the dialog.
game_menu p
dialog=$(wait_for_window "^Set up game pad$") || fail "Alt+G, P opened no dialog"
escape_pad_dialog() {
    xdotool windowfocus --sync "$dialog" key Escape 2>/dev/null || true
    gone "^Set up game pad$"
}
until_true escape_pad_dialog || fail "Escape did not get through the pad's dialog"
# Restore the newest version, the one the import kept: the removed settings, so none.
game_menu r
dialog=$(wait_for_window "Restore earlier settings - 2 ") || fail "Alt+G, R opened no dialog"
xdotool windowfocus --sync "$dialog" key Return
until_true [ ! -e "$emu/cfg/Velmora002.cfg" ] || fail "Return did not restore the newest version"

# The mouse: a right-click configures the first row (under the menu bar and the headers).
xdotool mousemove --window "$main" 150 52 click 3
dialog=$(wait_for_window "Configure game - 1 ") || fail "right-click did not open the dialog"
xdotool windowfocus --sync "$dialog" key Escape
until_true gone "Configure game - " || fail "Escape did not close the dialog"

# Config menu, Exit: the profile is written on the way out.
config_menu x
until_true ended || fail "E&xit did not close the window"
# A crash on the way out, or a leak the sanitizers report at exit, ends it with another status.
status=0
wait "$velmora" || status=$?
[ "$status" -eq 0 ] || fail "Velmora exited with status $status"
[ -n "$(profile_value ShowOutput)" ] || fail "closing did not write the profile"
if [ "$with_wm" = --wm ]; then
    [ "$(profile_value dx)x$(profile_value dy)" = "${outer_width}x${outer_height}" ] ||
        fail "the profile holds $(profile_value dx)x$(profile_value dy), the frame was" \
            "${outer_width}x${outer_height}"
fi

# The command line's modes that show windows, as a launcher runs them.
# --configure: the dialog alone; OK saves the game's files and ends with status 0.
"$emu/Velmora" --configure 3 &
velmora=$!
dialog=$(wait_for_window "Configure game - 3 ") || fail "--configure 3 showed no dialog"
xdotool windowfocus --sync "$dialog" key Tab Tab Down Tab Tab Return
status=0
wait "$velmora" || status=$?
[ "$status" -eq 0 ] || fail "--configure 3 then OK exited with status $status"
grep -q -- "--renderer=" "$emu/cfg/Velmora003.cfg" || fail "--configure's OK saved no options"
[ -f "$emu/cfg/Velmora003_registry.cfg" ] || fail "--configure's OK saved no settings snapshot"

# --start of a game that is not configured asks first; No starts nothing and ends with 1.
"$emu/Velmora" --start 4 &
velmora=$!
question=$(wait_for_window "^Velmora$") || fail "--start 4 did not ask"
xdotool windowfocus --sync "$question" key alt+n
status=0
wait "$velmora" || status=$?
[ "$status" -eq 1 ] || fail "--start 4, No exited with status $status"
! game_running 4 || fail "No started the game"
[ ! -e "$emu/cfg/Velmora004.cfg" ] || fail "No configured the game"

# Qt's own options reach Qt: a style, and a title for the first window. Qt picks its platform
# itself here, as on a desktop where nobody names one.
env -u QT_QPA_PLATFORM "$emu/Velmora" -style fusion -qwindowtitle "Velmora with Qt options" &
velmora=$!
main=$(wait_for_window "^Velmora with Qt options$") || fail "Qt's options did not reach Qt"
config_menu x
status=0
wait "$velmora" || status=$?
[ "$status" -eq 0 ] || fail "Velmora with Qt's options exited with status $status"

# Started as the desktop starts it, with no terminal at all, a Velmora away from its emulator
# tells why in a box as well; run from a terminal, with its output redirected, it does not.
lonely="$work/lonely"
mkdir -p "$lonely"
cp "$emu/Velmora" "$lonely/"
setsid "$lonely/Velmora" --start 1 </dev/null >/dev/null 2>"$work/lonely.err" &
velmora=$!
box=$(wait_for_window "^Velmora$") || fail "no box told the error without a terminal"
grep -qxF "Could not find ZINC.EXE!" "$work/lonely.err" || fail "stderr: $(cat "$work/lonely.err")"
xdotool windowfocus --sync "$box" key Return
status=0
wait "$velmora" || status=$?
[ "$status" -eq 1 ] || fail "the lonely Velmora exited with status $status"
status=0
timeout 60 script -qec "'$lonely/Velmora' --start 1 >/dev/null 2>'$work/lonely.err'" /dev/null \
    >/dev/null || status=$?
[ "$status" -eq 1 ] || fail "in a terminal, the lonely Velmora exited with status $status"
grep -qxF "Could not find ZINC.EXE!" "$work/lonely.err" || fail "stderr: $(cat "$work/lonely.err")"
echo "smoke: ok"
