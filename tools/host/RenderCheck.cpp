#include "RenderCheck.h"

#include <cmath>
#include <limits>

namespace
{
    double correlation (const float* a, const float* b, int n)
    {
        double ab = 0.0, aa = 0.0, bb = 0.0;

        for (int i = 0; i < n; ++i)
        {
            ab += (double) a[i] * b[i];
            aa += (double) a[i] * a[i];
            bb += (double) b[i] * b[i];
        }

        return aa > 0.0 && bb > 0.0 ? ab / std::sqrt (aa * bb) : 0.0;
    }

    int commonLength (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        return juce::jmin (a.getNumSamples(), b.getNumSamples());
    }
} // namespace

RenderCheck::Verdict RenderCheck::withinWetBound (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input)
{
    const auto n = commonLength (rendered, input);
    int outside = 0;

    for (int c = 0; c < rendered.getNumChannels(); ++c)
        for (int i = 0; i < n; ++i)
        {
            const auto out = rendered.getSample (c, i);
            const auto bound = juce::jmax (0.7f, std::abs (input.getSample (juce::jmin (c, input.getNumChannels() - 1), i)));
            outside += std::isfinite (out) && std::abs (out) <= bound * (1.0f + 1.0e-6f) ? 0 : 1;
        }

    return { outside == 0 && n > 0, juce::String (outside) + " of " + juce::String (n) + " samples outside the bound" };
}

namespace
{
    float largestDifference (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input)
    {
        const auto n = commonLength (rendered, input);
        auto largest = n > 0 ? 0.0f : std::numeric_limits<float>::infinity();

        for (int c = 0; c < juce::jmin (rendered.getNumChannels(), input.getNumChannels()); ++c)
            for (int i = 0; i < n; ++i)
                largest = juce::jmax (largest, std::abs (rendered.getSample (c, i) - input.getSample (c, i)));

        return largest;
    }
} // namespace

RenderCheck::Verdict RenderCheck::unchanged (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input)
{
    const auto largest = largestDifference (rendered, input);
    return { largest <= 1.0e-6f, "largest difference from the input " + juce::String (largest) };
}

RenderCheck::Verdict RenderCheck::processed (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input)
{
    const auto largest = largestDifference (rendered, input);
    return { std::isfinite (largest) && largest > 1.0e-3f, "largest difference from the input " + juce::String (largest) };
}

RenderCheck::Verdict RenderCheck::inputUnheard (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& input)
{
    const auto n = commonLength (rendered, input);
    const auto r = correlation (rendered.getReadPointer (0), input.getReadPointer (0), n);
    return { n > 0 && std::abs (r) < 0.1, "correlation with the input " + juce::String (r, 4) };
}

RenderCheck::Verdict RenderCheck::holdsRecording (const juce::AudioBuffer<float>& rendered, const juce::AudioBuffer<float>& recording)
{
    const auto length = recording.getNumSamples();
    const auto n = rendered.getNumSamples();
    constexpr int window = 2048;

    if (length < window || n < window)
        return { false, "too short to compare" };

    // Search with the loudest stretch of the render: a quiet one (a pause between words)
    // would match anywhere.
    int windowStart = 0;
    auto loudest = -1.0f;

    for (int start = 0; start + window <= n; start += window / 2)
    {
        const auto rms = rendered.getRMSLevel (0, start, window);

        if (rms > loudest)
        {
            loudest = rms;
            windowStart = start;
        }
    }

    // The station has been playing since the plug-in was created: find where it stands.
    juce::AudioBuffer<float> looped (1, length + window);
    looped.copyFrom (0, 0, recording, 0, 0, length);
    looped.copyFrom (0, length, recording, 0, 0, window);

    const auto* out = rendered.getReadPointer (0);
    const auto* searched = out + windowStart;
    const auto* rec = looped.getReadPointer (0);
    int bestLag = 0;
    double best = -2.0;

    for (int lag = 0; lag < length; ++lag)
    {
        double dot = 0.0;

        for (int i = 0; i < window; ++i)
            dot += (double) searched[i] * rec[lag + i];

        if (dot > best)
        {
            best = dot;
            bestLag = lag;
        }
    }

    juce::AudioBuffer<float> aligned (1, n);

    const auto startOfRender = ((bestLag - windowStart) % length + length) % length;

    for (int i = 0; i < n; ++i)
        aligned.setSample (0, i, recording.getSample (0, (startOfRender + i) % length));

    const auto r = correlation (out, aligned.getReadPointer (0), n);
    return { r > 0.9, "correlation " + juce::String (r, 4) + " with the recording from sample " + juce::String (startOfRender) };
}
