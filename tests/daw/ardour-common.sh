# Shared by the Ardour checks (sourced): a throw-away HOME for everything Ardour writes, and
# the plug-in installed there as the given format, where Ardour looks for it.
# After `isolate_home` and `install_plugin KIND BUNDLE`, $work is the scratch folder and
# $plugin the name Ardour knows the plug-in by.

isolate_home () {
  work="$(mktemp -d /tmp/scanner-ardour.XXXXXX)"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
  export LD_LIBRARY_PATH="/usr/lib/ardour7${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
}

install_plugin () {
  local kind="$1" bundle="$2"
  plugin="Ombrel Korrin Scanner"

  if [ "$kind" = VST3 ]; then
    # Ardour's Lua host only reads the scanner's cache: install the bundle, then scan it there.
    mkdir -p "$HOME/.vst3"
    cp -r "$bundle" "$HOME/.vst3/"
    local installed="$HOME/.vst3/$(basename "$bundle")"
    # Ardour trusts a cache only when it is strictly newer than the module (whole seconds).
    find "$installed" -exec touch -d "@$(( $(date +%s) - 10 ))" {} +
    /usr/lib/ardour7/ardour-vst3-scanner -f -v "$installed" > "$work/scan.log" 2>&1 || true
    grep -q "Saved VST3 plugin cache" "$work/scan.log" || { cat "$work/scan.log"; fail "the scanner wrote no cache"; }
  else
    mkdir -p "$HOME/.lv2"
    cp -r "$bundle" "$HOME/.lv2/"
    export LV2_PATH="$HOME/.lv2"
  fi
}

# Creates the three-track session of create-session.lua in $work/session.
create_session () {
  local kind="$1" samples="$2"
  session="$work/session"
  export SCANNER_SESSION_DIR="$session" SCANNER_PLUGIN="$plugin" SCANNER_PLUGIN_TYPE="$kind" SCANNER_SAMPLES="$samples"
  stdbuf -oL ardour7-lua "$here/create-session.lua" > "$work/create.log" 2>&1 || true
  grep -q "^SAVED" "$work/create.log" || { cat "$work/create.log"; fail "the session was not created"; }
}
