#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

/** Loads the built VST3 bundle the way a DAW does and drives it through the host-side API
    alone: the bundle is a black box whose parameters are known by the names and texts it
    gives them. Use it on the message thread. */
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

    /** How a user names a hosted parameter: its name in lower case without spaces or dashes
        ("Scan Rate" -> "scanrate", "Lo-Fi" -> "lofi"). */
    static juce::String keyOf (const juce::AudioProcessorParameter& hosted);

    /** The hosted parameter a user names, by its key (any case, spaces or dashes), or by a
        longer word that starts with exactly one parameter's key (the plug-in's own IDs do:
        "staticAmt" for "Static"); nullptr when none fits. */
    static juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name);

    /** Sets a hosted parameter from the text a user would type into a host for it ("0.4",
        "50", "on"), through the parameter's own text conversion; false if none is so named. */
    static bool setFromText (juce::AudioPluginInstance& instance, const juce::String& name, const juce::String& text);

    /** Sets every name -> text of a list; false (and a message naming it) at the first unknown name. */
    static bool setAllFromText (juce::AudioPluginInstance& instance, const juce::StringPairArray& texts, juce::String& error);
};
