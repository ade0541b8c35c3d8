#!/usr/bin/env bash
# Windows smoke test: Velmora.exe under Wine with Qt's windows platform, in real Win32 windows
# on an X display (Xvfb), driven with xdotool and the keyboard. Uses the caller's Wine prefix
# (WINEPREFIX) and its registry.
# Runs twice: with the emulator below "My Games", then below "Jeux vidéo", a name that Windows
# spells in its ANSI code page ("JEUX VID\xC9O" once Velmora has upper-cased it), where the
# game's files must be saved and read back all the same.
#   smoke-windows.sh <laid-out emulator directory> [wine [folder above the emulator's]]
set -euo pipefail
template=$1
wine=${2:-wine}
parent=${3:-My Games}
work=$(mktemp -d)
velmora=
cleanup() {
    [ -n "$velmora" ] && kill "$velmora" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# Mixed case and a blank: Velmora upper-cases the emulator directory, as Windows always has.
emu="$work/$parent/ZiNc"
mkdir -p "$work/$parent"
cp -r "$template" "$emu"
runs="$work/runs.log"
games="$work/games.log"
export ZINC_STANDIN_GAMES=12 ZINC_STANDIN_CMDLINE_LOG=$runs ZINC_STANDIN_GAME_LOG=$games
export VELMORA_SAMPLE_PLUGIN_AUTO="Width=1280;Volume=30"

fail() {
    echo "smoke-windows: $*" >&2
    exit 1
}
# Polls for a condition, at most about a minute: Wine is slow to start on a busy machine.
wait_until() {
    wait_long 600 "$@"
}
# The same for `tries` tenths of a second.
wait_long() {
    local tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(find_window "$1")" ]; }
reg() { "$wine" reg "$@" 2>/dev/null | tr -d '\r'; }
# Pixels of one colour on the screen: each row image's Z has 72 of its bright colour.
pixels() {
    import -window root "$work/screen.png"
    convert "$work/screen.png" -format %c histogram:info:- |
        awk -v c="$1" 'toupper($0) ~ c { sub(":", "", $1); n = $1 } END { print n + 0 }'
}
rows_are() { [ $(($(pixels "$1") / 72)) -eq "$2" ]; }
# Alt+C opens the Config menu, a window of its own named after the program; the item's key is
# pressed only once the menu shows. While a captured game runs, Velmora holds keys back and
# may lose an Alt+C: it is pressed again until the menu shows.
config_menu() {
    for _ in 1 2 3 4 5 6; do
        xdotool windowfocus --sync "$main" key alt+c
        for _ in $(seq 50); do
            if has_window '^Velmora$'; then
                xdotool key "$1"
                return 0
            fi
            sleep 0.1
        done
    done
    fail "Alt+C did not open the Config menu"
}
red='#DC1E1E'
green='#1EAA32'
# Velmora's own executable path, upper-cased: Z:\...\MY GAMES\ZINC. Wine prints it in UTF-8;
# Velmora and the emulator see it in the ANSI code page, Windows-1252 here, where the
# upper-casing takes in the accented letters too.
dir=$("$wine" winepath -w "$emu" 2>/dev/null | tr -d '\r' | iconv -f UTF-8 -t CP1252 |
      LC_ALL=C tr 'a-z\340-\366\370-\376' 'A-Z\300-\326\330-\336')
dir=${dir%\\}
[ -n "$dir" ] || fail "winepath gave no Windows path for $emu"

# A first run: no profile, no plugin settings.
reg delete 'HKCU\Software\Velmora\Velmora' /f >/dev/null || true
reg delete 'HKCU\Software\Vision Thing\PSEmu Pro' /f >/dev/null || true

(cd "$emu" && exec "$wine" Velmora.exe) &
velmora=$!
title="A small ZiNc frontend - Velmora"
# Wine may take a while over the first window on a display, on a busy machine longer.
wait_long 900 has_window "$title" || fail "the main window never showed"
main=$(find_window "$title")
wait_until rows_are $red 12 || fail "expected 12 red rows, saw $(($(pixels $red) / 72))"

# The list and help runs: the upper-cased emulator path, in the emulator directory.
expected="cmdline=<\"$dir\\ZINC.EXE\" --list-games>
cwd=<$dir>
cmdline=<\"$dir\\ZINC.EXE\">
cwd=<$dir>"
[ "$(tr -d '\r' <"$runs")" = "$expected" ] ||
    fail "list and help runs: expected
$expected
got
$(cat "$runs")"

# Configure game 1 with the keyboard once a click has picked its row: Config, Configure
# game...; in the dialog, from the first button: the sound plugin's button, the renderer list
# (its first renderer, in name order), the renderer's own button, OK. The plugins take their
# settings from VELMORA_SAMPLE_PLUGIN_AUTO instead of showing dialogs. The window's X origin is
# its client area: the first row lies below the menu bar and the column headers.
xdotool mousemove --window "$main" 150 59 click 1
config_menu c
wait_until has_window "Configure game - 1 " || fail "Configure game... did not open the dialog"
dialog=$(find_window "Configure game - 1 ")
xdotool windowfocus --sync "$dialog" key Tab space Tab Tab space Tab Return
# OK writes the options file, the renderer's file and the snapshot, in that order.
options="$emu/cfg/Velmora001.cfg"
snapshot="$emu/cfg/Velmora001_registry.cfg"
wait_until test -s "$snapshot" || fail "OK did not write the settings snapshot"
grep -q -- '--renderer=libvelmora_renderer_gl.dll' "$options" ||
    fail "the renderer was not saved: $(cat "$options")"
[ "$(cat "$emu/cfg/Velmora001_renderer.cfg")" = $'\r' ] ||
    fail "the renderer options file was not saved"

# The snapshot holds the plugins' settings; reg import reads it back to the same values.
key='HKCU\Software\Vision Thing\PSEmu Pro'
before=$(reg query "$key" /s)
grep -Eq 'Width +REG_DWORD +0x500' <<<"$before" || fail "no Width=1280 in the registry: $before"
grep -Eq 'Volume +REG_DWORD +0x1e' <<<"$before" || fail "no Volume=30 in the registry: $before"
reg delete "$key" /f >/dev/null
(cd "$emu/cfg" && "$wine" reg import Velmora001_registry.cfg >/dev/null 2>&1) ||
    fail "reg import refused the snapshot"
after=$(reg query "$key" /s)
[ "$before" = "$after" ] || fail "reg import read back
$after
instead of
$before"

# The configured row turns green once the selection moves off it.
xdotool windowfocus --sync "$main" key Down
wait_until rows_are $green 1 || fail "the configured game's row did not turn green"

# Return on the row starts the game: the emulator sees one blank between the words of its
# command line and runs in the emulator directory.
xdotool key Up Return
launch="cmdline=<\"$dir\\ZINC.EXE\" 1 \"--use-config-file=$dir\\cfg\\Velmora001.cfg\">
cwd=<$dir>"
started() { [ "$(tr -d '\r' <"$runs" | tail -n 2)" = "$launch" ]; }
wait_until started || fail "the game start: expected
$launch
got
$(tail -n 2 "$runs")"
# The emulator read the options file that OK saved.
read_options="options from $dir\\cfg\\Velmora001.cfg:"
wait_until env LC_ALL=C grep -qF -- "$read_options" "$games" ||
    fail "the game did not read its options: expected $read_options in
$(cat "$games" 2>/dev/null)"
tail -c "$(stat -c %s "$options")" "$games" | cmp -s - "$options" ||
    fail "the game read other options than OK saved: $(cat "$games")"

# Config, Exit: the profile goes to the registry as DWORD values.
config_menu x
gone() { ! kill -0 "$velmora" 2>/dev/null; }
wait_until gone || fail "E&xit did not close the window"
status=0
wait "$velmora" || status=$?
velmora=
[ "$status" -eq 0 ] || fail "Velmora.exe exited with status $status"
profile=$(reg query 'HKCU\Software\Velmora\Velmora\Position')
for name in x y dx dy ShowOutput Maximized; do
    grep -Eq "^ +$name +REG_DWORD +0x[0-9a-f]+$" <<<"$profile" ||
        fail "no DWORD $name in the profile: $profile"
done
grep -Eq 'REG_SZ|REG_BINARY' <<<"$profile" && fail "the profile holds other than DWORDs: $profile"
echo "smoke-windows: ok below $parent"
if [ $# -lt 3 ]; then
    cleanup
    trap - EXIT
    exec "$0" "$template" "$wine" "Jeux vidéo"
fi
