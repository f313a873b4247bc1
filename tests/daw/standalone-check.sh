#!/usr/bin/env bash
# The standalone app in a real window on a virtual X display (and no sound card): click the
# auto-scan switch through the X server, check from a screen grab that it turned green, and
# close the app as a window manager would. Settings go to a throw-away HOME.
# Usage: standalone-check.sh APP
set -euo pipefail
app="$1"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work="$(mktemp -d /tmp/scanner-standalone.XXXXXX)"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
title="Ombrel Korrin Scanner"
source "$(dirname "$0")/editor-on-screen.sh"
fail () { echo "standalone-check: $*" >&2; sed 's/^/  app: /' "$work/app.log" >&2 || true; exit 1; }

"$app" > "$work/app.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

window=$(timeout 30 xdotool search --sync --name "^$title\$" | head -n 1) || fail "no window appeared"
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$window")"

# The editor (700 x 520) fills the bottom of the window, below the title bar and notices.
left=$((X + WIDTH - 700))
top=$((Y + HEIGHT - 520))

before=$(green_in_switch)
click_switch
sleep 1
after=$(green_in_switch)
echo "switch: $before green pixels before the click, $after after"
[ "$before" -lt 10 ] || fail "the switch was green before the click"
[ "$after" -gt 100 ] || fail "the switch did not turn green (AUTO SCAN://ON)"

# Close it as a user does: the close button at the right end of the window's own title bar.
xdotool mousemove $((X + WIDTH - 16)) $((Y + 12)) click 1

quits_within "$pid" 10 || fail "the app did not quit when its window was closed"

wait "$pid" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the app exited with status $status"
echo "standalone-check: passed (the app quit cleanly)"
