#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A short musical loop (drums, bass and chords) for rendering when no input file is given. */
class DemoSignal
{
public:
    /** Two bars at 110 bpm, stereo, synthesised at the given rate; the same every time. */
    static juce::AudioBuffer<float> createLoop (double sampleRate);
};
