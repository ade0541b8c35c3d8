#!/usr/bin/env bash
# Puts Velmora into the desktop's application menu for one emulator directory: copies the
# built Velmora beside ZINC.EXE, writes velmora.desktop into $XDG_DATA_HOME/applications and the
# icons into $XDG_DATA_HOME/icons/hicolor. The menu entry starts that copy in the
# emulator directory.
#
#   scripts/install-launcher.sh EMULATOR_DIR
#   scripts/install-launcher.sh --uninstall EMULATOR_DIR
#
# Velmora and its icons come from the release build (cmake --preset release && cmake --build
# --preset release), or from the build directory named by VELMORA_BUILD_DIR.
set -euo pipefail
unset CDPATH  # cd must print nothing: its directory is read from pwd

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$repo/build/release}
sizes=(16 32 48 256)

die() {
    printf 'install-launcher: %s\n' "$*" >&2
    exit 1
}

usage() {
    printf 'usage: %s [--uninstall] EMULATOR_DIR\n' "$(basename "$0")" >&2
    exit 2
}

uninstall=false
case ${1-} in
    --uninstall) uninstall=true; shift ;;
    --) shift ;;
    -*) usage ;;
esac
if [ $# -ne 1 ] || [ -z "$1" ]; then
    usage
fi

# Only an absolute XDG_DATA_HOME counts; anything else means the default.
data_home=${XDG_DATA_HOME-}
[[ $data_home == /* ]] || data_home=${HOME:?HOME is not set}/.local/share
applications=$data_home/applications
entry=$applications/velmora.desktop
theme=$data_home/icons/hicolor

# The emulator directory as an absolute path with links resolved, so that an install and an
# uninstall that name it differently still agree. A directory that is gone is taken as given.
if [ -d "$1" ]; then
    emulator_dir=$(cd -- "$1" && pwd -P)
else
    $uninstall || die "$1 is not a directory"
    emulator_dir=$1
    [[ $emulator_dir == /* ]] || emulator_dir=$PWD/$emulator_dir
fi
program=$emulator_dir/Velmora

# A desktop entry is UTF-8 text, one value per line: a path that is not UTF-8 or holds a
# control character cannot be written into one.
if ! printf '%s' "$emulator_dir" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1 ||
    [[ $emulator_dir == *[[:cntrl:]]* ]]; then
    die "the path of $emulator_dir cannot be written into a desktop entry (it must be UTF-8" \
        "without control characters)"
fi

# A string value: backslashes doubled.
string_value() {
    printf '%s' "${1//\\/\\\\}"
}

# One argument of Exec: quoted, with the characters that are special inside the quotes
# escaped and percent signs doubled, then written as a string value.
exec_argument() {
    local s=$1
    s=${s//\\/\\\\}
    s=${s//\"/\\\"}
    s=${s//\`/\\\`}
    s=${s//\$/\\\$}
    s=${s//%/%%}
    string_value "\"$s\""
}

path_line="Path=$(string_value "$emulator_dir")"

# Whether the installed entry, if any, is the one for this emulator directory.
entry_is_ours() {
    [ -f "$entry" ] && grep -qxF -- "$path_line" "$entry"
}

remove_file() {
    if [ -f "$1" ] || [ -L "$1" ]; then
        rm -f -- "$1"
        printf 'Removed %s\n' "$1"
    fi
}

remove_empty_dirs() {
    local dir
    for dir in "$@"; do
        [ -d "$dir" ] && rmdir --ignore-fail-on-non-empty -- "$dir"
    done
    return 0
}

if $uninstall; then
    remove_file "$program"
    if [ -f "$entry" ] && ! entry_is_ours; then
        # The menu entry and the icons belong to another emulator directory now.
        printf 'Left %s: it starts Velmora in another directory\n' "$entry"
        exit 0
    fi
    remove_file "$entry"
    for size in "${sizes[@]}"; do
        remove_file "$theme/${size}x$size/apps/velmora.png"
        remove_empty_dirs "$theme/${size}x$size/apps" "$theme/${size}x$size"
    done
    remove_empty_dirs "$theme" "$data_home/icons" "$applications"
    exit 0
fi

[ -f "$emulator_dir/ZINC.EXE" ] ||
    die "$emulator_dir holds no ZINC.EXE: Velmora belongs in the emulator's own directory"
built=$build/src/app/Velmora
icons=$build/launcher/icons/hicolor
[ -f "$built" ] || die "$built is missing: build Velmora first" \
    "(cmake --preset release && cmake --build --preset release)"
for size in "${sizes[@]}"; do
    [ -f "$icons/${size}x$size/apps/velmora.png" ] ||
        die "the icons are missing from $icons: build Velmora first" \
            "(cmake --preset release && cmake --build --preset release)"
done

# Written under another name and renamed, so a Velmora running from there keeps running and
# nothing is left half-written.
trap 'rm -f -- "$program.installing" "$entry.installing"' EXIT
cp -- "$built" "$program.installing"
chmod 755 -- "$program.installing"
mv -fT -- "$program.installing" "$program"

for size in "${sizes[@]}"; do
    mkdir -p -- "$theme/${size}x$size/apps"
    cp -- "$icons/${size}x$size/apps/velmora.png" "$theme/${size}x$size/apps/velmora.png"
    chmod 644 -- "$theme/${size}x$size/apps/velmora.png"
done

mkdir -p -- "$applications"
cat >"$entry.installing" <<EOF
[Desktop Entry]
Version=1.4
Type=Application
Name=Velmora
GenericName=Arcade Emulator Front End
Comment=List, configure and start the games of the ZiNc emulator
Icon=velmora
Exec=$(exec_argument "$program")
$path_line
Terminal=false
Categories=Game;Emulator;
EOF
chmod 644 -- "$entry.installing"
mv -fT -- "$entry.installing" "$entry"

printf 'Installed %s\n  menu entry %s\n  icons in %s\n' "$program" "$entry" "$theme"
