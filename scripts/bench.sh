#!/usr/bin/env bash
# Runs every benchmark and prints the figures, with the machine they were taken
# on, keeping a copy in build/bench/report.txt. The figures in docs/performance.md
# are written by hand from such a report. Expects a release build in build/release,
# the Windows build in build/windows, the web build in build/web and Lighthouse
# (scripts/setup.sh bench).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
out=build/bench/report.txt
mkdir -p "$(dirname "$out")"
{
    echo "Kolvex performance figures, $(date -u +%Y-%m-%d)"
    echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)"
    echo "display: Xvfb with Mesa llvmpipe (software rendering)"
    echo
    echo "== project's own cost, through the raylib stand-in"
    "$build/tests/kolvex_bench_stand_in" --benchmark_min_time=0.5 2>/dev/null
    echo
    echo "== with the real raylib under Xvfb"
    tests/with_display.sh "$build/tests/kolvex_bench_raylib" 2>/dev/null
    echo
    echo "== whole process under Xvfb"
    tests/with_display.sh /usr/bin/python3 tests/bench/measure_process.py "$build/kolvex" \
        "$build/tests/kolvex_bare_window" assets/data 10
    echo
    echo "== the Windows build under Wine, beside the Linux build"
    tests/with_display.sh /usr/bin/python3 tests/bench/measure_wine_start.py \
        build/windows/kolvex.exe "$build/kolvex" 10
    echo
    echo "== the web build in headless Chromium"
    node tests/web/measure_frames.mjs build/web
    echo
    echo "== the web page on a phone's slow connection"
    node tests/web/measure_first_frame.mjs build/web
    node tests/bench/web/measure_lighthouse.mjs build/web
} | tee "$out"
