#!/bin/sh
# Builds the high-score fuzz target in the given build directory and runs it for
# a bounded time from the seed corpus; exits non-zero when it finds a failure.
# Usage: run_fuzz.sh BUILD_DIR [SECONDS]
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [SECONDS]" >&2
    exit 2
fi
build_dir=$1
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)

cmake -S "$here" -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build_dir" -j2

# New inputs go into a working copy, so the committed seeds stay as they are.
work="$build_dir/corpus"
mkdir -p "$work" "$build_dir/artifacts"
cp "$here"/corpus/* "$work"/

exec "$build_dir/high_score_fuzz" -max_total_time="$seconds" -seed=1 \
    -artifact_prefix="$build_dir/artifacts/" "$work"
