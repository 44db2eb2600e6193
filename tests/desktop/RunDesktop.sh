#!/usr/bin/env bash
# Runs the desktop scenarios (tests/desktop/*.scn) on a real X display: its own Xvfb with the
# openbox window manager, the xcb platform, and real key and mouse events from xdotool.
# Usage: RunDesktop.sh RUNNER SOURCE_DIR WORK_DIR. Exits 77 (skipped) when a tool is missing; fails instead when CI=true.
set -uo pipefail
runner=$1 source_dir=$2 work_dir=$3
. "$source_dir/../skip.sh"
for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null ||
        skip "$tool is not installed (apt-get install xvfb openbox xdotool x11-utils)"
done
mkdir -p "$work_dir"
xvfb_pid='' wm_pid=''
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

# A free display number, chosen by the server itself.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp >"$work_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
display=''
for _ in $(seq 100); do
    read -r -t 0.1 display <&"$display_fd" && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
done
if [ -z "$display" ]; then
    echo "Xvfb did not start:"; cat "$work_dir/xvfb.log"; exit 1
fi
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY || true

openbox >"$work_dir/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    echo "openbox did not start:"; cat "$work_dir/openbox.log"; exit 1
fi

failed=0
run() { # run NAME CMAKE-DEFINITIONS...
    local name=$1
    shift
    if cmake -DRUNNER="$runner" -DWORKDIR="$work_dir" "$@" \
             -P "$source_dir/../scenarios/RunScenario.cmake"; then
        echo "passed: $name"
    else
        echo "FAILED: $name"
        failed=1
    fi
}
for script in "$source_dir"/*.scn; do
    name=$(basename "$script" .scn)
    run "$name" -DSCRIPT="$script" -DEXPECTED="$source_dir/$name.out"
done
# The random actions of the offscreen runs, here half of them with the real mouse and keyboard.
run monkey_sqlserver_3 -DSCRIPT="$source_dir/../scenarios/monkey.scn" -DENGINE=sqlserver \
    -DPARAMETER=SEED -DVALUE=3 -DEXPECTED="$work_dir/monkey.out"
exit $failed
