#!/bin/sh
# Runs a test program as the unprivileged user nobody, for the cases that need an ordinary
# user: a folder without write permission stops anyone but the superuser. The test command
# runs as the superuser in CI, where those cases skip themselves; here they run for real, with a
# home, XDG folders and a temporary folder of nobody's own, removed afterwards. The rest of the
# environment (sanitizer options included) passes through. The build tree may lie below a
# folder only the superuser can enter (a checkout in a private temporary folder): nobody keeps
# the one capability to read and search any folder, which lets no write through.
#   run-unprivileged.sh PROGRAM [ARGUMENT...]
# Exits with the program's status; with 77 (skipped) when not run as the superuser, whose
# ordinary run has taken those cases already.
if [ "$(id -u)" -ne 0 ]; then
    echo "not the superuser: the program's own run has taken these cases already"
    exit 77
fi
home=$(mktemp -d) || exit 1
trap 'rm -rf "$home"' EXIT
mkdir -m 0700 "$home/runtime"
chown -R nobody:nogroup "$home"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
    --inh-caps=+dac_read_search --ambient-caps=+dac_read_search \
    env HOME="$home" TMPDIR="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    XDG_RUNTIME_DIR="$home/runtime" "$@"
