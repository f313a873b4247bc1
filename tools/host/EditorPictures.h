#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Pictures of the plug-in's editor while audio runs, for the README and for smoke tests. */
namespace EditorPictures
{
    /** Builds the processor and its editor in process, processes the demo loop on an audio
        thread while the message loop runs for `seconds` (so the timers fire), then renders
        the editor with the software renderer into a PNG. Needs no display. */
    bool snapshot (const juce::File& png, double seconds, const juce::StringPairArray& rawValues, juce::String& error);

    /** Loads the bundle as a DAW does, opens its editor in a real window on the X display,
        lets it run for `seconds` and grabs the window's pixels from the screen into a PNG.
        Fails when no display is set or the grabbed window is all black. */
    bool windowGrab (const juce::File& bundle, const juce::File& png, double seconds, const juce::StringPairArray& rawValues,
                     juce::String& error);

    /** Must run before the framework is initialised whenever windowGrab will be used. */
    bool prepareX11 (juce::String& error);
} // namespace EditorPictures
