#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** WAV reading and writing for the command-line host. */
namespace AudioFiles
{
    /** Reads a WAV file, converted to the given rate; false (and a message) on failure. */
    bool read (const juce::File& file, double sampleRate, juce::AudioBuffer<float>& out, juce::String& error);

    /** Writes 32-bit float WAV; false (and a message) on failure. */
    bool write (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error);

    /** Peak and RMS over all channels, in dBFS. */
    struct Levels
    {
        float peakDb, rmsDb;
    };
    Levels measure (const juce::AudioBuffer<float>& audio);
} // namespace AudioFiles
