#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Sets a processor's parameters as a host's automation does: by string ID and raw
    (unnormalised) value, which the parameter snaps to its interval. */
class RawParameters
{
public:
    /** Sets one parameter of the store; false when the store has no such ID. */
    static bool set (juce::AudioProcessorValueTreeState& store, const juce::String& id, float raw);

    /** Sets every ID -> raw value of the list; false (and a message naming it) at the first unknown ID. */
    static bool setAll (juce::AudioProcessorValueTreeState& store, const juce::StringPairArray& rawValues, juce::String& error);

    /** The raw value the store holds. */
    static float get (const juce::AudioProcessorValueTreeState& store, const juce::String& id);
};
