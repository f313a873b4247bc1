#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

/** One station's decoded recording (mono, 32-bit float) and its endless-loop read position.
    The recording is read-only and may be shared with other players; the read position and
    the loaded flag are the player's own. Loaded once on the creating thread; afterwards used
    by the audio thread alone. */
class StationPlayer
{
public:
    /** Decodes a WAV image into a recording of the player's own, folding it to mono and
        converting it to targetSampleRate by linear interpolation when its rate differs by
        more than 1 Hz. Bytes that are not a WAV leave the player as it was. */
    void loadFromMemory (const void* data, int sizeInBytes, double targetSampleRate);

    /** Plays a recording that other players may share, from its start. An empty recording
        (one that could not be decoded) leaves the player as it was. */
    void play (std::shared_ptr<const juce::AudioBuffer<float>> sharedRecording);

    /** Decodes a WAV image as loadFromMemory does; false, with the destination untouched, for
        bytes that are not a WAV. */
    static bool decode (const void* data, int sizeInBytes, double targetSampleRate, juce::AudioBuffer<float>& destination);

    /** The recording the player plays (an empty buffer before one is loaded). */
    const juce::AudioBuffer<float>& samples() const noexcept;

    // The three playback operations run once per station per output sample on the audio
    // thread, so they live here where the compiler can inline them.

    /** The sample at the read position, which then moves on by one (wrapping). 0 if empty. */
    float nextSample() noexcept
    {
        if (! isPlayable())
            return 0.0f;

        const auto sample = data[readPosition];
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
            readPosition = (int) (((juce::int64) readPosition + numSteps) % length);
    }

    /** The sample just behind the read position (index 0 right after a wrap). 0 if empty. */
    float previousSample() const noexcept
    {
        if (length <= 0)
            return 0.0f;

        return data[juce::jmax (readPosition - 1, 0)];
    }

    int readPosition = 0;
    bool loaded = false;

private:
    bool isPlayable() const noexcept { return loaded && length > 0; }

    void stepForward() noexcept
    {
        if (++readPosition >= length)
            readPosition = 0;
    }

    std::shared_ptr<const juce::AudioBuffer<float>> recording;

    // The recording's samples and length, kept beside it for the audio thread's inner loop.
    const float* data = nullptr;
    int length = 0;
};
