#include "engine/StationPlayer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>

namespace
{
    void foldToMono (const juce::AudioBuffer<float>& source, juce::AudioBuffer<float>& mono)
    {
        const auto numChannels = source.getNumChannels();
        const auto numSamples = source.getNumSamples();

        mono.clear();
        const auto gain = 1.0f / (float) numChannels;

        for (int channel = 0; channel < numChannels; ++channel)
            mono.addFrom (0, 0, source, channel, 0, numSamples, gain);
    }

    juce::AudioBuffer<float> resampleLinear (const juce::AudioBuffer<float>& input, double ratio)
    {
        const auto n = input.getNumSamples();
        const auto m = (int) ((double) n * ratio);
        juce::AudioBuffer<float> output (1, m);
        const auto* in = input.getReadPointer (0);
        auto* out = output.getWritePointer (0);

        for (int i = 0; i < m; ++i)
        {
            const auto p = (double) i / ratio;
            const auto j = (int) p;
            const auto f = (float) (p - (double) j);

            if (j + 1 < n)
                out[i] = in[j] * (1.0f - f) + in[j + 1] * f;
            else if (j < n)
                out[i] = in[j];
        }

        return output;
    }
} // namespace

void StationPlayer::loadFromMemory (const void* data, int sizeInBytes, double targetSampleRate)
{
    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatReader> reader (
        format.createReaderFor (new juce::MemoryInputStream (data, (size_t) juce::jmax (0, sizeInBytes), false), true));

    if (reader == nullptr)
        return;

    const auto n = (int) reader->lengthInSamples;
    const auto numChannels = (int) reader->numChannels;

    if (numChannels == 1)
    {
        // A mono file goes straight into the player: the same samples as a copy through a
        // temporary buffer, without touching twice the memory.
        buffer.setSize (1, n);
        reader->read (&buffer, 0, n, 0, true, true);
    }
    else
    {
        juce::AudioBuffer<float> decoded (numChannels, n);
        reader->read (&decoded, 0, n, 0, true, true);
        buffer.setSize (1, n);
        foldToMono (decoded, buffer);
    }

    // A damaged header can claim a rate of 0, which has no meaningful conversion.
    const auto sourceRate = reader->sampleRate;

    if (sourceRate > 0.0 && std::abs (sourceRate - targetSampleRate) > 1.0)
        buffer = resampleLinear (buffer, targetSampleRate / sourceRate);

    loaded = true;
    readPosition = 0;
}
