#include "Renderer.h"

#include "BundleHost.h"

juce::AudioBuffer<float> Renderer::loopTo (const juce::AudioBuffer<float>& input, int numChannels, int numSamples)
{
    juce::AudioBuffer<float> out (numChannels, numSamples);
    out.clear();

    if (input.getNumSamples() == 0 || input.getNumChannels() == 0)
        return out;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto source = juce::jmin (channel, input.getNumChannels() - 1);

        for (int done = 0; done < numSamples;)
        {
            const auto chunk = juce::jmin (numSamples - done, input.getNumSamples());
            out.copyFrom (channel, done, input, source, 0, chunk);
            done += chunk;
        }
    }

    return out;
}

juce::AudioBuffer<float> Renderer::render (juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                                           const Settings& settings, juce::String& error, std::function<void (double)> progress)
{
    const auto layout = settings.numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();

    if (! instance.setBusesLayout ({ { layout }, { layout } }))
    {
        error = "the plug-in refused " + layout.getDescription();
        return {};
    }

    if (! BundleHost::setAllFromText (instance, settings.rawValues, error))
        return {};

    const auto total = (int) (settings.seconds * settings.sampleRate);
    auto audio = loopTo (input, settings.numChannels, total);
    const auto blockSize = juce::jmax (1, settings.blockSize);

    instance.setRateAndBufferSizeDetails (settings.sampleRate, blockSize);
    instance.prepareToPlay (settings.sampleRate, blockSize);

    juce::MidiBuffer midi;
    juce::AudioBuffer<float> block (settings.numChannels, blockSize);
    const auto progressEvery = juce::jmax (1, (int) settings.sampleRate);

    for (int start = 0, nextReport = 0; start < total; start += blockSize)
    {
        const auto n = juce::jmin (blockSize, total - start);
        block.setSize (settings.numChannels, n, false, false, true);

        for (int channel = 0; channel < settings.numChannels; ++channel)
            block.copyFrom (channel, 0, audio, channel, start, n);

        instance.processBlock (block, midi);

        for (int channel = 0; channel < settings.numChannels; ++channel)
            audio.copyFrom (channel, start, block, channel, 0, n);

        if (progress && start >= nextReport)
        {
            progress ((double) start / (double) total);
            nextReport += progressEvery;
        }
    }

    instance.releaseResources();

    if (progress)
        progress (1.0);

    return audio;
}
