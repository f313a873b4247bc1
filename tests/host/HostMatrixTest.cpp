#include "BundleHost.h"
#include "DemoSignal.h"
#include "Renderer.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

namespace
{
    std::unique_ptr<juce::AudioPluginInstance> loadBundle (double sampleRate)
    {
        juce::String error;
        auto instance = BundleHost::load (BundleHost::defaultBundle(), sampleRate, 512, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    bool setLayout (juce::AudioPluginInstance& instance, int channels)
    {
        const auto set = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        return instance.setBusesLayout ({ { set }, { set } });
    }

    /** Block lengths: fixed, or varying from call to call (0 included). */
    int blockLength (int mode, int call)
    {
        static const int varying[] = { 0, 1, 7, 512, 3, 8192, 64, 0, 1000, 2 };
        return mode >= 0 ? mode : varying[call % (int) std::size (varying)];
    }
} // namespace

namespace
{
    /** One host sample rate: every block size and layout at it. */
    struct AtEveryRate : ::testing::TestWithParam<double>
    {};
} // namespace

INSTANTIATE_TEST_SUITE_P (HostMatrix, AtEveryRate, ::testing::Values (8000.0, 22050.0, 44100.0, 48000.0, 96000.0, 192000.0, 384000.0),
                          [] (const ::testing::TestParamInfo<double>& row) { return std::to_string ((int) row.param) + "Hz"; });

TEST_P (AtEveryRate, everyBlockSizeAndLayoutGivesFiniteBoundedOutput)
{
    const int blockModes[] = { 0, 1, 7, 512, 8192, -1 };
    const auto rate = GetParam();
    juce::MidiBuffer midi;
    juce::Random random (3);

    auto instance = loadBundle (rate);
    ASSERT_NE (instance, nullptr);
    const auto input = DemoSignal::createLoop (rate);

    for (const auto channels : { 1, 2 })
    {
        ASSERT_TRUE (setLayout (*instance, channels));

        for (const auto mode : blockModes)
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, " << channels << " channels, block mode " << mode);
            instance->setRateAndBufferSizeDetails (rate, 8192);
            instance->prepareToPlay (rate, 8192);
            const auto total = (int) (rate * 0.25);
            int worst = 0;

            for (int start = 0, call = 0; start < total || call < 3; ++call)
            {
                const auto n = blockLength (mode, call);
                auto block = Renderer::loopTo (input, channels, n);

                // A change of every parameter on every block, as heavy automation would.
                for (auto* parameter : instance->getParameters())
                    if (parameter != instance->getParameters().getLast())
                        parameter->setValue (random.nextFloat());

                instance->processBlock (block, midi);

                for (int c = 0; c < channels; ++c)
                    for (int i = 0; i < n; ++i)
                    {
                        const auto out = block.getSample (c, i);
                        const auto bound = juce::jmax (0.7f, std::abs (input.getSample (juce::jmin (c, 1), i % input.getNumSamples())));
                        worst += std::isfinite (out) && std::abs (out) <= bound * 1.0001f + 1.0e-6f ? 0 : 1;
                    }

                start += juce::jmax (n, 1);
            }

            instance->releaseResources();
            EXPECT_EQ (worst, 0);
        }
    }
}

TEST (HostMatrix, aStationPlaysOneRecordingSamplePerOutputSampleAtEveryRate)
{
    // With silent input, no static, no hold and full signal, the output on a station is the
    // saturated recording, sample for sample, whatever the host's rate.
    ScannerProcessor reference;
    const auto& recording = reference.stations[3].samples();

    for (const auto rate : { 8000.0, 44100.0, 96000.0, 384000.0 })
    {
        SCOPED_TRACE (rate);
        auto instance = loadBundle (rate);
        ASSERT_NE (instance, nullptr);

        for (const auto& [id, value] : { std::pair ("dial", 0.58f), std::pair ("staticAmt", 0.0f), std::pair ("signal", 100.0f),
                                         std::pair ("lofi", 0.0f), std::pair ("mix", 100.0f) })
            ASSERT_TRUE (BundleHost::setFromText (*instance, id, juce::String (value)));

        instance->setRateAndBufferSizeDetails (rate, 333);
        instance->prepareToPlay (rate, 333);
        juce::MidiBuffer midi;
        std::vector<float> output;

        for (int call = 0; call < 30; ++call)
        {
            juce::AudioBuffer<float> block (2, 333);
            block.clear();
            instance->processBlock (block, midi);
            output.insert (output.end(), block.getReadPointer (0), block.getReadPointer (0) + 333);
        }

        const auto dial = BundleHost::findParameter (*instance, "dial")->getValue(); // normalised = raw for 0..1
        const auto strength = findStrongestStation (dial).strength;
        ASSERT_GT (strength, 0.99f);

        for (size_t i = 0; i < output.size(); ++i)
            ASSERT_EQ (output[i], std::tanh (recording.getSample (0, (int) i) * 0.7f * strength * 1.0f * 2.0f) * 0.7f) << i;

        instance->releaseResources();
    }
}

TEST (Soak, tenMinutesOfFastAutoScanOverALoudInputStayFiniteAndKeepTheirSpeed)
{
    auto instance = loadBundle (44100.0);
    ASSERT_NE (instance, nullptr);

    Renderer::Settings settings;
    settings.seconds = 600.0;
    settings.rawValues.set ("autoScan", "1");
    settings.rawValues.set ("scanRate", "100");
    settings.rawValues.set ("staticAmt", "100");
    settings.rawValues.set ("signal", "100");

    auto loud = DemoSignal::createLoop (44100.0);
    loud.applyGain (4.0f);

    std::vector<double> progressTimes;
    juce::String error;
    const auto output = Renderer::render (*instance, loud, settings, error,
                                          [&] (double) { progressTimes.push_back (juce::Time::getMillisecondCounterHiRes()); });
    ASSERT_TRUE (error.isEmpty()) << error;

    int bad = 0;

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < output.getNumSamples(); ++i)
            bad += std::isfinite (output.getSample (c, i)) && std::abs (output.getSample (c, i)) <= 0.7f ? 0 : 1;

    EXPECT_EQ (bad, 0);

    // One progress call per second of audio: compare the first and the last minute's speed.
    ASSERT_GT (progressTimes.size(), 590u);
    const auto firstMinute = progressTimes[60] - progressTimes[0];
    const auto lastMinute = progressTimes[599] - progressTimes[539];
    std::cout << "soak: first minute rendered in " << firstMinute << " ms, last minute in " << lastMinute << " ms ("
              << 60000.0 / firstMinute << "x and " << 60000.0 / lastMinute << "x real time)\n";
    EXPECT_LT (lastMinute, firstMinute * 2.0 + 50.0);
}
