#!/bin/sh
# The desktop entry as a desktop starts it: it passes desktop-file-validate, and
# GLib's launcher runs the game in the per-user data folder, created if missing,
# with and without XDG_DATA_HOME. The entry names the game by the path it is
# installed at: here a stand-in that records where it ran.
# Usage: test_desktop_entry.sh DESKTOP_FILE_TEMPLATE
set -eu

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/home"
entry="$work/kolvex.desktop"
sed "s|@KOLVEX_GAME@|$work/bin/kolvex|" "$1" > "$entry"
desktop-file-validate "$entry"
cat > "$work/bin/kolvex" <<STUB
#!/bin/sh
pwd > "$work/ran-in"
STUB
chmod +x "$work/bin/kolvex"

# Launches the entry and waits, up to a deadline, for the stand-in to run.
launch() {
    rm -f "$work/ran-in"
    env -i PATH="/usr/bin:/bin" HOME="$work/home" "$@" gio launch "$entry"
    tries=0
    while [ ! -s "$work/ran-in" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 200 ] || { echo "the game never started" >&2; exit 1; }
        sleep 0.05
    done
    cat "$work/ran-in"
}

expect() {
    if [ "$1" != "$2" ]; then
        echo "started in '$1', expected '$2'" >&2
        exit 1
    fi
}

expect "$(launch)" "$work/home/.local/share/kolvex"
expect "$(launch XDG_DATA_HOME="$work/my data")" "$work/my data/kolvex"
expect "$(launch XDG_DATA_HOME=)" "$work/home/.local/share/kolvex"
echo "desktop entry: valid, runs the game in the per-user data folder"
