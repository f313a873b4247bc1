-- Creates a session on the dummy backend with three stereo tracks, each with the plug-in set
-- up for one check, gives every track the same input region, and saves.
local dir = os.getenv ("SCANNER_SESSION_DIR")
local plugin = os.getenv ("SCANNER_PLUGIN")
local kind = os.getenv ("SCANNER_PLUGIN_TYPE") == "LV2" and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.VST3
local samples = tonumber (os.getenv ("SCANNER_SAMPLES"))

-- Parameter values by the plug-in's index (dial, staticAmt, signal, lofi, autoScan, scanRate,
-- mix), normalised: the host sees them as 0..1.
local setups = {
	{ name = "Station", values = { [0] = 0.58, [1] = 0.0, [2] = 1.0, [3] = 0.0, [6] = 1.0 } },
	{ name = "Between", values = { [0] = 0.31, [1] = 0.0, [2] = 1.0, [3] = 0.0, [6] = 1.0 } },
	{ name = "Dry",     values = { [0] = 0.4,  [1] = 0.5, [5] = 0.7, [6] = 0.0 } },
}

assert (create_session (dir, "scanner", 48000), "cannot create the session")

local tracks = {}
for _, setup in ipairs (setups) do
	local track = Session:new_audio_track (2, 2, nil, 1, setup.name, ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()
	local proc = ARDOUR.LuaAPI.new_plugin (Session, plugin, kind, "")
	assert (not proc:isnil (), "the host cannot make the plug-in " .. plugin)
	assert (track:add_processor_by_index (proc, 0, nil, true) == 0, "cannot insert the plug-in")
	-- LV2: the framework publishes parameters as patch properties, which Lua's
	-- set_processor_param (control ports only) cannot reach; the plug-in keeps its defaults.
	for index, value in pairs (kind == ARDOUR.PluginType.LV2 and {} or setup.values) do
		assert (ARDOUR.LuaAPI.set_processor_param (proc, index, value), "cannot set parameter " .. index)
	end
	table.insert (tracks, track)
end

-- Lua cannot import audio here: bounce the first track once to get a region on two mono
-- files, which the test then overwrites with its own input.
local region = tracks[1]:bounce_range (0, samples, ARDOUR.InterThreadInfo (), tracks[1]:main_outs (), false, "input")
assert (not region:isnil (), "the bounce made no region")
local audio = region:to_audioregion ()
audio:set_fade_in_active (false)
audio:set_fade_out_active (false)

Session:begin_reversible_command ("insert file")
for _, track in ipairs (tracks) do
	local playlist = track:playlist ()
	playlist:to_stateful ():clear_changes ()
	playlist:add_region (region, Temporal.timepos_t (0), 1, false, 0, 0, false)
	Session:add_stateful_diff_command (playlist:to_statefuldestructible ())
end
Session:commit_reversible_command (nil)

Session:save_state ("", false, false, false, false, false)
print ("SAVED")
close_session ()
