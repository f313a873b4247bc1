#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** Judges audio that a host rendered through the plug-in against the input it was given. */
namespace RenderCheck
{
    struct Verdict
    {
        bool passed = false;
        juce::String details;
    };

    /** Every sample finite and no larger than the larger of its dry input and 0.7. */
    Verdict withinWetBound (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input);

    /** The rendered audio is the input, sample for sample. */
    Verdict unchanged (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input);

    /** The plug-in did something: the rendered audio is not the input. */
    Verdict processed (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input);

    /** The input is not heard: the rendered audio does not correlate with it. */
    Verdict inputUnheard (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input);

    /** The rendered audio holds a station's recording: it correlates strongly with the
        recording at some read position (found by search), over the whole render. */
    Verdict holdsRecording (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& recording);
} // namespace RenderCheck
