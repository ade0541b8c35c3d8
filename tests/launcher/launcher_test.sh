#!/usr/bin/env bash
# The desktop launcher end to end: refuses a directory without ZINC.EXE, installs into a
# throw-away XDG_DATA_HOME, checks and validates what it wrote, and uninstalls to nothing,
# leaving every file it did not install.
#
#   launcher_test.sh REPO_DIR BUILD_DIR
set -euo pipefail

repo=$1
build=$2
script=$repo/scripts/install-launcher.sh
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf -- "$work"' EXIT
export VELMORA_BUILD_DIR=$build
export XDG_DATA_HOME=$work/data

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}

# Everything below a directory, one path a line, to compare before and after.
tree() {
    (cd -- "$1" && find . -mindepth 1 | LC_ALL=C sort)
}

# Width, height and colour type of a PNG file, from its header.
png_header() {
    od -An -tu1 -j16 -N10 -- "$1" |
        awk '{ printf "%d %d %d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8, $10 }'
}

# An emulator directory whose path needs every kind of escaping a desktop entry has: blanks,
# a double quote, a dollar sign, a percent sign, a backslash and a letter beyond ASCII.
emu="$work/My \"Games\" \$1 50% a\\b $(printf '\xc3\xa9')/zinc"
mkdir -p -- "$emu/cfg"
printf 'stand-in' >"$emu/ZINC.EXE"
printf 'keep' >"$emu/cfg/Velmora001.cfg"

# No ZINC.EXE: refused with a message that says so, nothing written anywhere.
mkdir -- "$work/not-an-emulator"
if out=$("$script" "$work/not-an-emulator" 2>&1); then
    fail "installed into a directory without ZINC.EXE"
fi
[[ $out == *"holds no ZINC.EXE"* ]] || fail "unclear refusal: $out"
[ ! -e "$XDG_DATA_HOME" ] || fail "the refusal wrote into XDG_DATA_HOME"
[ -z "$(tree "$work/not-an-emulator")" ] || fail "the refusal wrote into the directory"

"$script" "$emu" >/dev/null
cmp -s -- "$build/src/app/Velmora" "$emu/Velmora" || fail "Velmora was not copied"
[ -x "$emu/Velmora" ] || fail "the copy cannot be run"

entry=$XDG_DATA_HOME/applications/velmora.desktop
report=$(desktop-file-validate -- "$entry" 2>&1) || fail "invalid entry: $report"
[ -z "$report" ] || fail "the validator complains: $report"
# Exec quotes the program, escapes ", $ and \ inside the quotes and doubles %; as a string
# value every backslash is then doubled once more. Path is a plain string value.
expected_exec=$(printf '%s' "Exec=\"$work/My \\\\\"Games\\\\\" \\\\\$1 50%% a\\\\\\\\b " &&
    printf '\xc3\xa9/zinc/Velmora"')
expected_path=$(printf '%s' "Path=$work/My \"Games\" \$1 50% a\\\\b " && printf '\xc3\xa9/zinc')
grep -qxF -- "$expected_exec" "$entry" || fail "wrong Exec line in: $(cat "$entry")"
grep -qxF -- "$expected_path" "$entry" || fail "wrong Path line in: $(cat "$entry")"
grep -qxF -- "Icon=velmora" "$entry" || fail "no Icon line"

for size in 16 32 48 256; do
    icon=$XDG_DATA_HOME/icons/hicolor/${size}x$size/apps/velmora.png
    [ -f "$icon" ] || fail "no $size pixel icon"
    [ "$(png_header "$icon")" = "$size $size 6" ] ||
        fail "the $size pixel icon is $(png_header "$icon") (width height colour type)"
done

# Uninstalling by another name of the same directory removes exactly what was installed.
ln -s -- "$emu" "$work/link"
"$script" --uninstall "$work/link" >/dev/null
[ -z "$(tree "$XDG_DATA_HOME")" ] || fail "left behind: $(tree "$XDG_DATA_HOME")"
[ "$(tree "$emu")" = "$(printf '%s\n' ./ZINC.EXE ./cfg ./cfg/Velmora001.cfg)" ] ||
    fail "the emulator directory holds: $(tree "$emu")"

# Files of others stay; the entry of another emulator directory stays with its icons.
mkdir -p -- "$XDG_DATA_HOME/applications" "$XDG_DATA_HOME/icons/hicolor/48x48/apps" "$work/other"
printf '[Desktop Entry]\n' >"$XDG_DATA_HOME/applications/other.desktop"
printf 'png' >"$XDG_DATA_HOME/icons/hicolor/48x48/apps/other.png"
printf 'stand-in' >"$work/other/ZINC.EXE"
before=$(tree "$XDG_DATA_HOME")
"$script" "$emu" >/dev/null
"$script" "$work/other" >/dev/null
"$script" --uninstall "$emu" >/dev/null
[ ! -e "$emu/Velmora" ] || fail "the uninstalled copy stayed"
grep -qxF -- "Path=$work/other" "$entry" || fail "the other directory's entry went"
[ -f "$XDG_DATA_HOME/icons/hicolor/16x16/apps/velmora.png" ] || fail "its icons went"
"$script" --uninstall "$work/other" >/dev/null
[ "$(tree "$XDG_DATA_HOME")" = "$before" ] || fail "changed: $(tree "$XDG_DATA_HOME")"
[ "$(tree "$work/other")" = "./ZINC.EXE" ] || fail "left behind: $(tree "$work/other")"
echo "launcher: install, validate and uninstall passed"
