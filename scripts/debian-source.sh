#!/usr/bin/env bash
# Downloads a Debian source package into the current folder, unless it is there already.
# apt needs source lines for it: where the machine has none, they are made from its own
# binary lines.
#   scripts/debian-source.sh PACKAGE VERSION
set -euo pipefail
package=${1:?usage: debian-source.sh PACKAGE VERSION}
version=${2:?usage: debian-source.sh PACKAGE VERSION}
upstream=${version%%[-+]*}

if ls "${package}_${upstream}"*.orig.tar.* >/dev/null 2>&1; then
    exit 0
fi
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if ! grep -rqs "^deb-src\|^Types: deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    for f in /etc/apt/sources.list.d/*.sources; do
        if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
            sed 's/^Types: deb$/Types: deb-src/' "$f" |
                "${sudo_cmd[@]}" tee "/etc/apt/sources.list.d/src-$(basename "$f")" >/dev/null
        fi
    done
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/src-sources.list >/dev/null
    fi
    "${sudo_cmd[@]}" apt-get update -qq
fi
apt-get source --download-only "$package=$version"
