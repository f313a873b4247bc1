# Shared by the checks that drive the editor in a real window (sourced). With $left and $top
# the editor's top-left corner on the X screen:

# Green pixels inside the auto-scan switch (16, 276, 200 x 36 in the editor), as it shows
# "AUTO SCAN://ON".
green_in_switch () {
  import -window root -crop "200x36+$((left + 16))+$((top + 276))" +repage -depth 8 txt:- \
    | sed -n 's/^[0-9]*,[0-9]*: *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' \
    | awk '{ if ($2 > 200 && $1 < 150 && $3 < 200) n++ } END { print n + 0 }'
}

# Clicks the middle of the switch.
click_switch () {
  xdotool mousemove $((left + 116)) $((top + 294)) click 1
}

# Waits up to `seconds` for process `pid` to end; fails (status 1) if it is still running.
quits_within () {
  local pid="$1" seconds="$2"
  for _ in $(seq $((seconds * 5))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.2
  done
  ! kill -0 "$pid" 2>/dev/null
}
