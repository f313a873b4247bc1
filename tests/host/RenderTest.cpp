#include "BundleHost.h"
#include "DemoSignal.h"
#include "Renderer.h"

#include <gtest/gtest.h>

#include <functional>

TEST (Render, throughTheBundleStaysFiniteAndWithinTheWetBound)
{
    struct Case
    {
        double sampleRate;
        int blockSize;
    };

    const Case cases[] = { { 44100.0, 1 },   { 44100.0, 64 },   { 44100.0, 512 }, { 44100.0, 4096 }, { 48000.0, 1 },   { 48000.0, 64 },
                           { 48000.0, 512 }, { 48000.0, 4096 }, { 96000.0, 1 },   { 96000.0, 64 },   { 96000.0, 512 }, { 96000.0, 4096 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.sampleRate << " Hz, blocks of " << c.blockSize);
        juce::String error;
        auto instance = BundleHost::load (BundleHost::defaultBundle(), c.sampleRate, c.blockSize, error);
        ASSERT_NE (instance, nullptr) << error;

        Renderer::Settings settings;
        settings.sampleRate = c.sampleRate;
        settings.blockSize = c.blockSize;
        settings.seconds = 2.0;
        settings.rawValues.set ("mix", "50");
        settings.rawValues.set ("autoScan", "1");
        settings.rawValues.set ("scanRate", "100");

        const auto input = DemoSignal::createLoop (c.sampleRate);
        const auto dry = Renderer::loopTo (input, 2, (int) (settings.seconds * c.sampleRate));
        const auto output = Renderer::render (*instance, input, settings, error);
        ASSERT_TRUE (error.isEmpty()) << error;
        ASSERT_EQ (output.getNumSamples(), dry.getNumSamples());

        int changed = 0;

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < output.getNumSamples(); ++i)
            {
                const auto out = output.getSample (channel, i);
                const auto in = dry.getSample (channel, i);
                const auto bound = juce::jmax (std::abs (in), 0.7f);
                ASSERT_TRUE (std::isfinite (out)) << "sample " << i;
                ASSERT_LE (std::abs (out), bound + std::numeric_limits<float>::epsilon() * bound) << "sample " << i;
                changed += std::equal_to<float>() (out, in) ? 0 : 1;
            }

        EXPECT_GT (changed, output.getNumSamples()); // the plug-in did process the audio
    }
}

TEST (Render, refusesAnUnknownParameter)
{
    juce::String error;
    auto instance = BundleHost::load (BundleHost::defaultBundle(), 44100.0, 512, error);
    ASSERT_NE (instance, nullptr) << error;

    Renderer::Settings settings;
    settings.seconds = 0.1;
    settings.rawValues.set ("volume", "3");
    const auto output = Renderer::render (*instance, DemoSignal::createLoop (44100.0), settings, error);

    EXPECT_EQ (output.getNumSamples(), 0);
    EXPECT_TRUE (error.contains ("volume"));
}
