#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

/** Loads the built VST3 bundle the way a DAW does and drives it through the host-side API.
    A VST3 host knows parameters only by numeric IDs and normalised values; this class maps
    the plug-in's string IDs and raw values onto them. Use it on the message thread. */
class BundleHost
{
public:
    /** The bundle the build produced, as configured by CMake. */
    static juce::File defaultBundle();

    /** Finds the plug-in inside a bundle; empty when the bundle holds none. */
    static std::optional<juce::PluginDescription> describe (const juce::File& bundle);

    /** Creates an instance of the plug-in from the bundle; nullptr (and a message) on failure. */
    static std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle, double sampleRate, int blockSize,
                                                            juce::String& error);

    /** The numeric ID a VST3 host sees for one of the plug-in's string parameter IDs. */
    static juce::String hostIdFor (const juce::String& stringId);

    /** The string ID behind a host-side parameter, or empty for one the plug-in did not declare. */
    static juce::String stringIdOf (const juce::AudioProcessorParameter& hosted);

    /** The host-side parameter of a string ID, or nullptr. */
    static juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& stringId);

    /** Sets a parameter by string ID and raw value (e.g. dial=0.4, mix=50); false if unknown. */
    static bool setRawValue (juce::AudioPluginInstance& instance, const juce::String& stringId, float rawValue);

    /** Sets every parameter of a list of string ID -> raw value; false (and a message naming
        it) at the first unknown one. */
    static bool setRawValues (juce::AudioPluginInstance& instance, const juce::StringPairArray& rawValues, juce::String& error);

    /** Normalised value of a raw value for one of the plug-in's parameters. */
    static std::optional<float> normalise (const juce::String& stringId, float rawValue);
};
