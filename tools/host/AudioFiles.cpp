#include "AudioFiles.h"

#include <cmath>

bool AudioFiles::read (const juce::File& file, double sampleRate, juce::AudioBuffer<float>& out, juce::String& error)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
    {
        error = "cannot read audio from " + file.getFullPathName();
        return false;
    }

    const auto length = (int) reader->lengthInSamples;
    juce::AudioBuffer<float> source ((int) reader->numChannels, length);
    reader->read (&source, 0, length, 0, true, true);

    if (std::abs (reader->sampleRate - sampleRate) < 0.5)
    {
        out = std::move (source);
        return true;
    }

    const auto ratio = reader->sampleRate / sampleRate;
    const auto outLength = (int) ((double) length / ratio);
    out.setSize (source.getNumChannels(), outLength);

    for (int channel = 0; channel < source.getNumChannels(); ++channel)
    {
        juce::LagrangeInterpolator interpolator;
        interpolator.process (ratio, source.getReadPointer (channel), out.getWritePointer (channel), outLength);
    }

    return true;
}

bool AudioFiles::write (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error)
{
    file.deleteFile();
    std::unique_ptr<juce::OutputStream> stream (file.createOutputStream());

    if (stream == nullptr)
    {
        error = "cannot write " + file.getFullPathName();
        return false;
    }

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), 32, {}, 0));

    if (writer == nullptr)
    {
        error = "cannot create a WAV writer for " + file.getFullPathName();
        return false;
    }

    stream.release(); // the writer owns it now
    return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

AudioFiles::Levels AudioFiles::measure (const juce::AudioBuffer<float>& audio)
{
    auto peak = 0.0f;
    auto sumSquares = 0.0;

    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
    {
        peak = juce::jmax (peak, audio.getMagnitude (channel, 0, audio.getNumSamples()));
        const auto rms = audio.getRMSLevel (channel, 0, audio.getNumSamples());
        sumSquares += (double) rms * rms;
    }

    const auto channels = juce::jmax (1, audio.getNumChannels());
    return { juce::Decibels::gainToDecibels (peak, -200.0f),
             juce::Decibels::gainToDecibels ((float) std::sqrt (sumSquares / channels), -200.0f) };
}
