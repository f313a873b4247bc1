-- Reloads the saved session, reports whether every plug-in came back with its parameters,
-- and bounces each track through its plug-in.
local dir = os.getenv ("SCANNER_SESSION_DIR")
assert (load_session (dir, "scanner"), "cannot load the session")

print ("UNKNOWN " .. Session:unknown_processors ():size ())

local start = Session:current_start_sample ()
local stop = Session:current_end_sample ()
print ("RANGE " .. start .. " " .. stop)

for route in Session:get_tracks ():iter () do
	local track = route:to_track ()
	local proc = track:nth_plugin (0)
	if proc:isnil () then
		print ("NOPLUGIN " .. track:name ())
	else
		for index = 0, 6 do
			local value = ARDOUR.LuaAPI.get_processor_param (proc, index)
			print ("PARAM " .. track:name () .. " " .. index .. " " .. tostring (value))
		end
	end
	local region = track:bounce_range (start, stop, ARDOUR.InterThreadInfo (), track:main_outs (), false, "wet-" .. track:name ())
	assert (not region:isnil (), "no bounce of " .. track:name ())
end

print ("RENDERED")
close_session ()
