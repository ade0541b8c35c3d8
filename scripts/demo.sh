#!/usr/bin/env bash
# Builds Velmora and starts it in a demo emulator directory (build/release/demo) beside the stand-in
# emulator ZINC.EXE and the sample plugins. Without a display it runs under Xvfb, saves a
# screenshot to demo.png and closes again.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build gui-tests
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target demo_dir
demo=build/release/demo

if [ -n "${DISPLAY:-}" ]; then
    exec "$demo/Velmora"
fi

echo "No display: running Velmora under Xvfb for a screenshot."
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
    "$1/Velmora" &
    pid=$!
    for _ in $(seq 50); do
        window=$(xdotool search --name "Velmora" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.2
    done
    sleep 2
    import -window root demo.png
    kill "$pid"
    wait "$pid" 2>/dev/null || true
' _ "$demo"
echo "Screenshot saved to demo.png"
