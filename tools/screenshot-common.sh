# Sourced by the screenshot scripts: the checkout's root, the GUI build to
# run (default out/default, or the script's first argument), the screenshot
# folder, and runs under a virtual X display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/out/default}
shots="$root/out/screenshots"
mkdir -p "$shots"
export QT_QPA_PLATFORM=xcb

# Runs a command on a virtual 1280 x 800 screen.
xrun() { xvfb-run -a -s "-screen 0 1280x800x24" "$@"; }

# The same with a window manager (twm), so windows have their frames and
# stacking, and menus are grabbed from the screen as a user sees them.
xrun_wm() {
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    twm -f "$TWMRC" >/dev/null 2>&1 &
    wm=$!
    sleep 1
    "$@"
    rc=$?
    kill $wm 2>/dev/null || true
    exit $rc' bash "$@"
}
export TWMRC="$root/tools/twmrc"
