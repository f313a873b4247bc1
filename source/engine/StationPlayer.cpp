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

bool StationPlayer::decode (const void* data, int sizeInBytes, double targetSampleRate, juce::AudioBuffer<float>& destination)
{
    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatReader> reader (
        format.createReaderFor (new juce::MemoryInputStream (data, (size_t) juce::jmax (0, sizeInBytes), false), true));

    if (reader == nullptr)
        return false;

    const auto n = (int) reader->lengthInSamples;
    const auto numChannels = (int) reader->numChannels;

    if (numChannels == 1)
    {
        // A mono file goes straight into the destination: the same samples as a copy through
        // a temporary buffer, without touching twice the memory.
        destination.setSize (1, n);
        reader->read (&destination, 0, n, 0, true, true);
    }
    else
    {
        juce::AudioBuffer<float> decoded (numChannels, n);
        reader->read (&decoded, 0, n, 0, true, true);
        destination.setSize (1, n);
        foldToMono (decoded, destination);
    }

    // A damaged header can claim a rate of 0, which has no meaningful conversion.
    const auto sourceRate = reader->sampleRate;

    if (sourceRate > 0.0 && std::abs (sourceRate - targetSampleRate) > 1.0)
        destination = resampleLinear (destination, targetSampleRate / sourceRate);

    return true;
}

void StationPlayer::loadFromMemory (const void* wavData, int sizeInBytes, double targetSampleRate)
{
    auto own = std::make_shared<juce::AudioBuffer<float>>();

    if (! decode (wavData, sizeInBytes, targetSampleRate, *own))
        return;

    recording = std::move (own);
    data = recording->getNumSamples() > 0 ? recording->getReadPointer (0) : nullptr;
    length = recording->getNumSamples();
    loaded = true;
    readPosition = 0;
}

void StationPlayer::play (std::shared_ptr<const juce::AudioBuffer<float>> sharedRecording)
{
    if (sharedRecording == nullptr || sharedRecording->getNumSamples() == 0)
        return;

    recording = std::move (sharedRecording);
    data = recording->getReadPointer (0);
    length = recording->getNumSamples();
    loaded = true;
    readPosition = 0;
}

const juce::AudioBuffer<float>& StationPlayer::samples() const noexcept
{
    static const juce::AudioBuffer<float> none;
    return recording != nullptr ? *recording : none;
}
