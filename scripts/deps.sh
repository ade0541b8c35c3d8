#!/usr/bin/env bash
# Installs the Debian packages of the groups named (build, gui-tests, windows, qt-windows), or
# of every group when none is, from scripts/packages.txt: what is missing, with apt-get,
# through sudo when not root. Run it before anything configures: CMake looks for these tools.
#   scripts/deps.sh [GROUP...]
set -euo pipefail
list=$(dirname "$0")/packages.txt

groups=("$@")
if [ ${#groups[@]} -eq 0 ]; then
    mapfile -t groups < <(sed -n 's/^\[\(.*\)\]$/\1/p' "$list")
fi
packages=()
for group in "${groups[@]}"; do
    grep -qxF "[$group]" "$list" || {
        echo "deps.sh: no group [$group] in $list" >&2
        exit 2
    }
    mapfile -t -O ${#packages[@]} packages < <(
        awk -v g="[$group]" '/^\[/ { on = ($0 == g); next } on && NF && !/^#/ { print $1 }' "$list")
done

# Installed means installed: `dpkg -s` also answers for a package that was removed and left
# only its configuration behind.
missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
