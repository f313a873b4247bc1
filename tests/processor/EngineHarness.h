#pragma once

#include "RawParameters.h"
#include "processor/ScannerProcessor.h"

#include <vector>

/** A processor prepared at a given rate, with helpers to set raw parameter values and to
    push audio through it block by block. */
struct EngineHarness
{
    explicit EngineHarness (double sampleRate = 44100.0, int maxBlock = 512) { processor.prepareToPlay (sampleRate, maxBlock); }

    void set (const char* id, float raw) { RawParameters::set (processor.parameters, id, raw); }

    /** The raw value the store holds, snapped to the parameter's interval. */
    float raw (const char* id) const { return processor.parameters.getRawParameterValue (id)->load(); }

    /** Settings that take the noise out: no static, full signal, no hold, fully wet. */
    void quiet (float dial)
    {
        set ("dial", dial);
        set ("staticAmt", 0.0f);
        set ("signal", 100.0f);
        set ("lofi", 0.0f);
        set ("mix", 100.0f);
    }

    void process (juce::AudioBuffer<float>& block)
    {
        juce::MidiBuffer midi;
        processor.processBlock (block, midi);
    }

    /** Processes `input` in blocks of blockSize samples and returns the output. */
    juce::AudioBuffer<float> run (const juce::AudioBuffer<float>& input, int blockSize)
    {
        juce::AudioBuffer<float> output (input);

        for (int start = 0; start < input.getNumSamples(); start += blockSize)
        {
            const auto n = juce::jmin (blockSize, input.getNumSamples() - start);
            juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start, n);
            process (block);
        }

        return output;
    }

    /** n samples of silence in numChannels channels. */
    static juce::AudioBuffer<float> silence (int numChannels, int n)
    {
        juce::AudioBuffer<float> buffer (numChannels, n);
        buffer.clear();
        return buffer;
    }

    /** n samples of a loud, different sine in each channel. */
    static juce::AudioBuffer<float> tones (int numChannels, int n, float gain = 0.8f)
    {
        juce::AudioBuffer<float> buffer (numChannels, n);

        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < n; ++i)
                buffer.setSample (c, i, gain * std::sin (0.05f * (float) (c + 1) * (float) i + (float) c));

        return buffer;
    }

    ScannerProcessor processor;
};
