#!/usr/bin/env bash
# The plug-in in a real DAW: Debian's Ardour 7 scans the bundle, builds a session around it
# headless, saves, reloads it and renders each track through the plug-in. Everything Ardour
# writes goes to a throw-away HOME, never the user's own.
# Usage: ardour-check.sh VST3|LV2 BUNDLE SCANNER_HOST
set -euo pipefail
kind="$1"
bundle="$2"
host="$3"
here="$(cd "$(dirname "$0")" && pwd)"

fail () { echo "ardour-check ($kind): $*" >&2; exit 1; }
source "$here/ardour-common.sh"
isolate_home
trap 'rm -rf "$work"' EXIT
started=$(date +%s.%N)
install_plugin "$kind" "$bundle"

if [ "$kind" = VST3 ]; then
  cache=$(find "$XDG_CACHE_HOME/ardour7/vst" -name '*.v3i' | head -n 1)
  [ -n "$cache" ] || fail "no .v3i cache file"
  for expected in "name=\"$plugin\"" 'vendor="Halvessa"' 'category="Fx"' 'n_inputs="2"' 'n_outputs="2"'; do
    grep -q "$expected" "$cache" || { cat "$cache"; fail "the cache lacks $expected"; }
  done
  echo "scan: $(grep -o 'name="[^"]*"' "$cache" | head -n 1), vendor Halvessa, category Fx, 2 in / 2 out"
fi

seconds=3
samples=$((seconds * 48000))
create_session "$kind" "$samples"

# Give every track the same input: a quiet tone and a louder one in turn, 32-bit float.
audio="$session/interchange/$(basename "$session")/audiofiles"
left=$(find "$audio" -name 'input*L.wav' | head -n 1)
right=$(find "$audio" -name 'input*R.wav' | head -n 1)
[ -n "$left" ] && [ -n "$right" ] || { ls -R "$session"; fail "the input region's files are missing"; }
encoding=$(soxi -e "$left")
bits=$(soxi -b "$left")
encoding_flag=$([ "$encoding" = "Floating Point PCM" ] && echo floating-point || echo signed-integer)
sox -n -r 48000 -c 1 -b "$bits" -e "$encoding_flag" "$left" synth "${samples}s" sine 330 vol 0.03
sox -n -r 48000 -c 1 -b "$bits" -e "$encoding_flag" "$right" synth "${samples}s" sine 495 vol 0.03
sox -M "$left" "$right" -e floating-point -b 32 "$work/input.wav"

stdbuf -oL ardour7-lua "$here/render-session.lua" > "$work/render.log" 2>&1 || true
grep -q "^RENDERED" "$work/render.log" || { cat "$work/render.log"; fail "the session did not render"; }
grep -q "^UNKNOWN 0$" "$work/render.log" || { cat "$work/render.log"; fail "a processor came back unknown"; }

# Every parameter came back to its step (0.001 for the dial, 0.001 of the range for the others).
check_param () {
  local track="$1" index="$2" expected="$3"
  local got
  got=$(awk -v t="$track" -v i="$index" '$1 == "PARAM" && $2 == t && $3 == i { print $4 }' "$work/render.log")
  [ -n "$got" ] || fail "no value for $track parameter $index"
  awk -v a="$got" -v b="$expected" 'BEGIN { d = a - b; if (d < 0) d = -d; exit (d <= 0.0011 ? 0 : 1) }' \
    || fail "$track parameter $index came back as $got, not $expected"
}
if [ "$kind" = VST3 ]; then
  check_param Station 0 0.58; check_param Station 1 0; check_param Station 2 1; check_param Station 3 0; check_param Station 6 1
  check_param Between 0 0.31; check_param Between 1 0; check_param Between 6 1
  check_param Dry 0 0.4; check_param Dry 1 0.5; check_param Dry 5 0.7; check_param Dry 6 0
  echo "recall: no unknown processor, every parameter back to its step"
else
  echo "recall: no unknown processor (LV2 parameters are patch properties that Lua cannot set: defaults kept)"
fi

judge () {
  local track="$1" expectation="$2"
  local l r
  l=$(find "$audio" -name "wet-$track*L.wav" | head -n 1)
  r=$(find "$audio" -name "wet-$track*R.wav" | head -n 1)
  [ -n "$l" ] && [ -n "$r" ] || fail "no render of $track"
  sox -M "$l" "$r" -e floating-point -b 32 "$work/wet-$track.wav"
  echo "render of $track (expect $expectation):"
  "$host" check --input "$work/input.wav" --rendered "$work/wet-$track.wav" --expect "$expectation" | sed 's/^/  /'
  test "${PIPESTATUS[0]}" -eq 0 || fail "the render of $track is wrong"
}
if [ "$kind" = VST3 ]; then
  judge Station station=3
  judge Between unheard
  judge Dry unchanged
else
  judge Station processed
  judge Between processed
  judge Dry processed
fi

# A session-sized case: 24 tracks with the plug-in, saved, reloaded and bounced.
export SCANNER_SESSION_DIR="$work/large"
stdbuf -oL ardour7-lua "$here/large-session.lua" > "$work/large.log" 2>&1 || true
grep -q "^BOUNCED 24$" "$work/large.log" || { cat "$work/large.log"; fail "the 24-track session did not save, reload and bounce"; }
grep -q "^UNKNOWN 0$" "$work/large.log" || { cat "$work/large.log"; fail "a processor of the 24-track session came back unknown"; }
rss_of () { awk -v s="$1" '$1 == "RSS" && $2 == s { printf "%.1f", $3 / 1024 }' "$work/large.log"; }
echo "24 tracks: saved, reloaded, bounced; Ardour's resident memory $(rss_of empty) MB empty," \
  "$(rss_of with-24) MB with 24 instances, $(rss_of reloaded) MB reloaded, $(rss_of bounced) MB after the bounces"

if grep -i -E "scanner|ombrel|halvessa" "$work/create.log" "$work/render.log" | grep -v -E "^[^:]*:(SAVED|RENDERED|PARAM|UNKNOWN|RANGE)" > "$work/mentions.log"; then
  echo "Ardour said about the plug-in:"; sed 's/^/  /' "$work/mentions.log"
fi
echo "ardour-check ($kind): passed in $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
