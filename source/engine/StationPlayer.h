#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** One station's decoded recording (mono, 32-bit float) and its endless-loop read position.
    Loaded once on the creating thread; afterwards used by the audio thread alone. */
class StationPlayer
{
public:
    /** Decodes a WAV image into the player, folding it to mono and converting it to
        targetSampleRate by linear interpolation when its rate differs by more than 1 Hz.
        Bytes that are not a WAV leave the player as it was. */
    void loadFromMemory (const void* data, int sizeInBytes, double targetSampleRate);

    /** The sample at the read position, which then moves on by one (wrapping). 0 if empty. */
    float nextSample() noexcept;

    /** Moves the read position on by one (wrapping) without reading. */
    void advance() noexcept;

    /** The sample just behind the read position (index 0 right after a wrap). 0 if empty. */
    float previousSample() const noexcept;

    juce::AudioBuffer<float> buffer;
    int readPosition = 0;
    bool loaded = false;

private:
    bool isPlayable() const noexcept { return loaded && buffer.getNumSamples() > 0; }
    void stepForward() noexcept;
};
