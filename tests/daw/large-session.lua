-- A session of the size a film mix has: 24 stereo tracks with the plug-in, saved, closed,
-- reloaded and bounced. Prints Ardour's resident memory at each step ("RSS step kB").
local dir = os.getenv ("SCANNER_SESSION_DIR")
local plugin = os.getenv ("SCANNER_PLUGIN")
local kind = os.getenv ("SCANNER_PLUGIN_TYPE") == "LV2" and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.VST3
local numTracks = 24
local samples = 48000

local function rss (step)
	local status = io.open ("/proc/self/status")
	for line in status:lines () do
		local kb = line:match ("^VmRSS:%s+(%d+)")
		if kb then print ("RSS " .. step .. " " .. kb) end
	end
	status:close ()
end

assert (create_session (dir, "large", 48000), "cannot create the session")
rss ("empty")

for i = 1, numTracks do
	local track = Session:new_audio_track (2, 2, nil, 1, "Track " .. i, ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()
	local proc = ARDOUR.LuaAPI.new_plugin (Session, plugin, kind, "")
	assert (not proc:isnil (), "the host cannot make the plug-in " .. plugin)
	assert (track:add_processor_by_index (proc, 0, nil, true) == 0, "cannot insert the plug-in")
end
rss ("with-" .. numTracks)

Session:save_state ("", false, false, false, false, false)
close_session ()

assert (load_session (dir, "large"), "cannot load the session")
print ("UNKNOWN " .. Session:unknown_processors ():size ())
rss ("reloaded")

local bounced = 0
for route in Session:get_tracks ():iter () do
	local track = route:to_track ()
	assert (not track:nth_plugin (0):isnil (), "no plug-in on " .. track:name ())
	local region = track:bounce_range (0, samples, ARDOUR.InterThreadInfo (), track:main_outs (), false, "bounce")
	assert (not region:isnil (), "no bounce of " .. track:name ())
	bounced = bounced + 1
end
rss ("bounced")
print ("BOUNCED " .. bounced)
close_session ()
