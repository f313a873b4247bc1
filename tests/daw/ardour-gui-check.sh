#!/usr/bin/env bash
# The plug-in's editor inside Ardour's own window, on a virtual X display with no sound card:
# Ardour opens a session with the plug-in, the mixer, and the plug-in's window. The editor
# must paint, animate (two grabs a second apart differ: the framework's timers run inside the
# host), take a click on the auto-scan switch and a drag on the STATIC knob, and Ardour must
# save the values they set. Everything Ardour writes goes to a throw-away HOME.
# Usage: ardour-gui-check.sh VST3|LV2 BUNDLE
set -euo pipefail
kind="$1"
bundle="$2"
here="$(cd "$(dirname "$0")" && pwd)"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

fail () {
  echo "ardour-gui-check ($kind): $*" >&2
  [ -f "$work/ardour.log" ] && grep -i -E "error|ombrel|scanner" "$work/ardour.log" | head -n 20 | sed 's/^/  ardour: /' >&2
  exit 1
}
source "$here/ardour-common.sh"
source "$here/editor-on-screen.sh"
isolate_home
ardour_pid=""
trap '[ -n "$ardour_pid" ] && kill "$ardour_pid" 2>/dev/null; rm -rf "$work"' EXIT
started=$(date +%s.%N)
install_plugin "$kind" "$bundle"
create_session "$kind" 48000

# No first-run wizard, no audio set-up dialog: the dummy backend starts by itself.
mkdir -p "$XDG_CONFIG_HOME/ardour7"
touch "$XDG_CONFIG_HOME/ardour7/.a7"
cat > "$XDG_CONFIG_HOME/ardour7/config" <<'CONFIG'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="Normal Speed" device="Silence" input-device="" output-device="" sample-rate="48000" buffer-size="1024" n-periods="0" input-latency="0" output-latency="0" input-channels="0" output-channels="0" active="1" use-buffered-io="0" midi-option="" lru="1"/>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
CONFIG

ardour -n -a "$session/scanner.ardour" > "$work/ardour.log" 2>&1 &
ardour_pid=$!

main=$(timeout 60 xdotool search --sync --name "^scanner - Ardour" | head -n 1) || fail "Ardour's window did not appear"
sleep 3

# The mixer, then a double-click on the plug-in in the first strip's processor box. Without a
# window manager every window sits at 0,0; the positions are those of a fresh layout on this
# 1600 x 1000 screen.
xdotool mousemove 1326 72 click 1
sleep 2
xdotool mousemove 334 207 click --repeat 2 --delay 80 1
window=$(timeout 20 xdotool search --sync --name "^Station: $plugin" | head -n 1) || fail "the plug-in's window did not open"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window: $(xdotool getwindowname "$window"), ${WIDTH} x ${HEIGHT}"

# The editor (700 x 520) fills the bottom of the window, below Ardour's own toolbar.
left=$((X + WIDTH - 700))
top=$((Y + HEIGHT - 520))
grab () { import -window root -crop "700x520+${left}+${top}" +repage "$1"; }

grab "$work/frame1.png"
sleep 1
grab "$work/frame2.png"
colours=$(identify -format %k "$work/frame1.png")
changed=$(compare -metric AE "$work/frame1.png" "$work/frame2.png" null: 2>&1 || true)
echo "paint: $colours colours; a second later $changed pixels have changed"
[ "$colours" -gt 1000 ] || fail "the editor did not paint (only $colours colours)"
[ "${changed%%.*}" -gt 100 ] || fail "the editor did not move in a second ($changed pixels changed)"

before=$(green_in_switch)
click_switch
sleep 1
after=$(green_in_switch)
echo "switch: $before green pixels before the click, $after after"
[ "$after" -gt $((before + 200)) ] || fail "the click did not turn the switch on"

# The STATIC knob (16, 336, 133 x 148 in the editor; the Station track has it at 0 %): 60 px up.
knob_x=$((left + 82))
knob_y=$((top + 400))
xdotool mousemove "$knob_x" "$knob_y" mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove "$knob_x" $((knob_y - 10 * step))
  sleep 0.1
done
xdotool mouseup 1
sleep 1

# The first processor of the plug-in in a saved session is the Station track's.
first_plugin () { awk '/<Processor .*name="Ombrel Korrin Scanner"/ { on = 1 } on { print } on && /<\/Processor>/ { exit }' "$1"; }
# The framework's LV2 state is a string of the plug-in's own state chunk, in the state
# folder the session names for the processor.
state_of () {
  local dir id
  dir=$(sed -n 's/.*<lv2 .*state-dir="\([^"]*\)".*/\1/p' "$1" | head -n 1)
  id=$(sed -n 's/.*<Processor id="\([0-9]*\)" name="Ombrel Korrin Scanner".*/\1/p' "$1" | head -n 1)
  grep -o 'StateString> "[^"]*"' "$session/plugins/$id/$dir/state.ttl"
}
cp "$session/scanner.ardour" "$work/before.ardour"
first_plugin "$work/before.ardour" > "$work/before.xml"
lv2_before=$([ "$kind" = LV2 ] && state_of "$work/before.xml" || true)

# Ctrl+S in the main window saves the session with what the editor set; Ctrl+Q quits.
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --window "$main" ctrl+s
for _ in $(seq 20); do
  cmp -s "$session/scanner.ardour" "$work/before.ardour" || break
  sleep 0.5
done
cmp -s "$session/scanner.ardour" "$work/before.ardour" && fail "Ctrl+S saved nothing"

first_plugin "$session/scanner.ardour" > "$work/after.xml"

if [ "$kind" = VST3 ]; then
  # Parameters by the IDs VST3 hosts store them under (staticAmt, autoScan).
  value_of () { sed -n "s/.*<Port id=\"$2\" value=\"\([^\"]*\)\".*/\1/p" "$1" | head -n 1; }
  static_before=$(value_of "$work/before.xml" 65696890)
  static_after=$(value_of "$work/after.xml" 65696890)
  scan_after=$(value_of "$work/after.xml" 1438689484)
  echo "saved: STATIC $static_before -> $static_after (normalised), AUTO SCAN $(value_of "$work/before.xml" 1438689484) -> $scan_after"
  awk -v a="$static_after" 'BEGIN { exit (a > 0.05 ? 0 : 1) }' || fail "the knob drag did not reach the saved STATIC value"
  awk -v a="$scan_after" 'BEGIN { exit (a > 0.5 ? 0 : 1) }' || fail "the click did not reach the saved AUTO SCAN value"
else
  [ -n "$lv2_before" ] || fail "no saved LV2 state before"
  [ "$lv2_before" != "$(state_of "$work/after.xml")" ] || fail "the click and the drag did not change the saved LV2 state"
  echo "saved: the plug-in's LV2 state string changed"
fi

xdotool key --window "$main" ctrl+q
quits_within "$ardour_pid" 15 || fail "Ardour did not quit on Ctrl+Q"
wait "$ardour_pid" || fail "Ardour quit with status $?"
ardour_pid=""
echo "ardour-gui-check ($kind): passed in $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
