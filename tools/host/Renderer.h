#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>

/** Runs audio through a plug-in instance block by block, as a DAW's render does. */
class Renderer
{
public:
    struct Settings
    {
        double sampleRate = 44100.0;
        int blockSize = 512;
        double seconds = 10.0;
        int numChannels = 2;
        juce::StringPairArray rawValues; // parameter string ID -> raw value, set before the first block
    };

    /** Renders `seconds` of audio: the input loops if it is shorter; channels beyond the
        input's repeat its last channel. Calls progress (0..1) now and then. Returns the output,
        or an empty buffer (and a message) when a parameter is unknown. */
    static juce::AudioBuffer<float> render (juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                            const Settings& settings, juce::String& error, std::function<void (double)> progress = {});

    /** Loops or cuts the input to numSamples samples and numChannels channels. */
    static juce::AudioBuffer<float> loopTo (const juce::AudioBuffer<float>& input, int numChannels, int numSamples);
};
