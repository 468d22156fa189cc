#!/usr/bin/env bash
# Runs a command with a real X display (a private Xvfb) and a real audio device
# (ALSA's null output), as the integration and end-to-end tests need.
#
# The X server picks its own free display number (-displayfd), so tests running
# side by side can never share a display and see each other's windows.
set -uo pipefail

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo 'pcm.!default { type null }' > "$work/asound.conf"
export ALSA_CONFIG_PATH="$work/asound.conf"
export SDL_AUDIODRIVER=alsa

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        cat "$work/xvfb.log" >&2
        echo "with_display: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
[ -s "$work/display" ] || { echo "with_display: Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

"$@"
