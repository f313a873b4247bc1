#include "AudioFiles.h"

#include <cmath>

namespace
{
    /** A 32-bit float WAV writer that owns the stream; nullptr (with the stream still the
        caller's) on failure. JUCE 8 describes the format with options, JUCE 7 with arguments. */
    std::unique_ptr<juce::AudioFormatWriter> createFloatWavWriter (std::unique_ptr<juce::OutputStream>& stream, double sampleRate,
                                                                   int numChannels)
    {
        juce::WavAudioFormat wav;
#if JUCE_MAJOR_VERSION >= 8
        const auto options = juce::AudioFormatWriterOptions()
                                 .withSampleRate (sampleRate)
                                 .withNumChannels (numChannels)
                                 .withBitsPerSample (32)
                                 .withSampleFormat (juce::AudioFormatWriterOptions::SampleFormat::floatingPoint);
        return wav.createWriterFor (stream, options);
#else
        std::unique_ptr<juce::AudioFormatWriter> writer (
            wav.createWriterFor (stream.get(), sampleRate, (unsigned int) numChannels, 32, {}, 0));

        if (writer != nullptr)
            stream.release(); // the writer owns it now

        return writer;
#endif
    }
} // namespace

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

    auto writer = createFloatWavWriter (stream, sampleRate, audio.getNumChannels());

    if (writer == nullptr)
    {
        error = "cannot create a WAV writer for " + file.getFullPathName();
        return false;
    }

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
