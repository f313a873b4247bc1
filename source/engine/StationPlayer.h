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

    // The three playback operations run once per station per output sample on the audio
    // thread, so they live here where the compiler can inline them.

    /** The sample at the read position, which then moves on by one (wrapping). 0 if empty. */
    float nextSample() noexcept
    {
        if (! isPlayable())
            return 0.0f;

        const auto sample = buffer.getSample (0, readPosition);
        stepForward();
        return sample;
    }

    /** Moves the read position on by one (wrapping) without reading. */
    void advance() noexcept
    {
        if (isPlayable())
            stepForward();
    }

    /** The same as numSteps calls of advance(), at the cost of one. */
    void advanceBy (int numSteps) noexcept
    {
        if (isPlayable() && numSteps > 0)
            readPosition = (int) (((juce::int64) readPosition + numSteps) % buffer.getNumSamples());
    }

    /** The sample just behind the read position (index 0 right after a wrap). 0 if empty. */
    float previousSample() const noexcept
    {
        if (buffer.getNumSamples() <= 0)
            return 0.0f;

        return buffer.getSample (0, juce::jmax (readPosition - 1, 0));
    }

    juce::AudioBuffer<float> buffer;
    int readPosition = 0;
    bool loaded = false;

private:
    bool isPlayable() const noexcept { return loaded && buffer.getNumSamples() > 0; }

    void stepForward() noexcept
    {
        if (++readPosition >= buffer.getNumSamples())
            readPosition = 0;
    }
};
