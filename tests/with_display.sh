#!/usr/bin/env bash
# Runs a command with a real X display (a private Xvfb) and a real audio device
# (ALSA's null output), as the integration and end-to-end tests need.
set -euo pipefail

alsa_conf=$(mktemp)
trap 'rm -f "$alsa_conf"' EXIT
echo 'pcm.!default { type null }' > "$alsa_conf"
export ALSA_CONFIG_PATH="$alsa_conf"
export SDL_AUDIODRIVER=alsa

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
