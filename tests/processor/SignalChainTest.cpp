#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>

namespace
{
    /** The band-pass the tuning filter is: a topology-preserving state-variable filter,
        written out here independently of the plug-in. */
    struct ReferenceBandPass
    {
        ReferenceBandPass (double sampleRate, float cutoff, float resonance)
        {
            g = (float) std::tan (juce::MathConstants<double>::pi * cutoff / sampleRate);
            r2 = (float) (1.0 / resonance);
            h = (float) (1.0 / (1.0 + r2 * g + g * g));
        }

        float process (float x)
        {
            const auto hp = h * (x - s1 * (g + r2) - s2);
            const auto bp = hp * g + s1;
            s1 = hp * g + bp;
            const auto lp = bp * g + s2;
            s2 = bp * g + lp;
            return bp;
        }

        float g, r2, h, s1 = 0.0f, s2 = 0.0f;
    };

    std::vector<float> recordingOf (const ScannerProcessor& processor, int station)
    {
        const auto& buffer = processor.stations[(size_t) station].samples();
        return { buffer.getReadPointer (0), buffer.getReadPointer (0) + buffer.getNumSamples() };
    }
} // namespace

TEST (SignalChain, onAStationTheOutputIsTheSaturatedMixOfFilteredInputAndRecording)
{
    for (const auto dial : { 0.40f, 0.395f, 0.75f })
    {
        SCOPED_TRACE (dial);
        EngineHarness engine;
        engine.quiet (dial);
        const auto dialInUse = engine.raw ("dial");
        const auto reception = findStrongestStation (dialInUse);
        const auto recording = recordingOf (engine.processor, reception.index);

        const auto input = EngineHarness::tones (2, 2000);
        const auto output = engine.run (input, 64);

        ReferenceBandPass filter (44100.0, dialInUse * 3000.0f + 200.0f, (1.0f - 1.0f) * 8.0f + 2.0f);

        for (int i = 0; i < input.getNumSamples(); ++i)
        {
            const auto mono = (input.getSample (0, i) + input.getSample (1, i)) / 2.0f;
            const auto f = filter.process (mono);
            const auto s = recording[(size_t) i];
            const auto expected = std::tanh ((f * 0.25f + s * 0.7f) * reception.strength * 1.0f * 2.0f) * 0.7f;

            ASSERT_EQ (output.getSample (0, i), expected) << "sample " << i;
            ASSERT_EQ (output.getSample (1, i), expected) << "sample " << i;
        }
    }
}

TEST (SignalChain, awayFromStationsTheInputIsNotHeard)
{
    for (const auto dial : { 0.31f, 0.0f, 1.0f, 0.66f })
    {
        SCOPED_TRACE (dial);
        EngineHarness loud, silent;
        loud.quiet (dial);
        silent.quiet (dial);

        const auto heard = loud.run (EngineHarness::tones (2, 3000), 256);
        const auto nothing = silent.run (EngineHarness::silence (2, 3000), 256);

        for (int i = 0; i < 3000; ++i)
            ASSERT_EQ (heard.getSample (0, i), nothing.getSample (0, i)) << "sample " << i;

        if (std::equal_to<float>() (dial, 1.0f)) // no station bleeds at the very end of the band
        {
            EXPECT_EQ (heard.getMagnitude (0, 3000), 0.0f);
        }
    }
}

TEST (SignalChain, neighboursBleedFromTheSampleTheyJustPassed)
{
    struct Case
    {
        float dial;
        int startPositionOfStationZero;
    };

    // 0.15 lies 0.07 from stations 0 and 1: both bleed. Station 0 starts one sample before
    // its end in the second case, so the first sample wraps and bleeds its sample 0.
    for (const auto& c : { Case { 0.15f, 0 }, Case { 0.15f, -1 }, Case { 0.115f, 5 } })
    {
        EngineHarness engine;
        engine.quiet (c.dial);
        const auto dialInUse = engine.raw ("dial");
        auto& zero = engine.processor.stations[0];
        const auto length = zero.samples().getNumSamples();
        zero.readPosition = c.startPositionOfStationZero < 0 ? length - 1 : c.startPositionOfStationZero;
        const auto start0 = zero.readPosition;

        std::vector<std::pair<int, float>> bleeding;

        for (int k = 0; k < numStations; ++k)
            if (float gain; stationBleedGain (dialInUse, k, gain))
                bleeding.emplace_back (k, gain);

        ASSERT_FALSE (bleeding.empty());
        const auto output = engine.run (EngineHarness::tones (2, 1000), 100);

        for (int i = 0; i < 1000; ++i)
        {
            auto out = 0.0f;

            for (const auto& [k, gain] : bleeding)
            {
                const auto& recording = engine.processor.stations[(size_t) k].samples();
                const auto start = k == 0 ? start0 : 0;
                const auto position = (start + i + 1) % recording.getNumSamples();
                out += gain * recording.getSample (0, juce::jmax (position - 1, 0));
            }

            ASSERT_EQ (output.getSample (0, i), std::tanh (out * 2.0f) * 0.7f) << "dial " << c.dial << " sample " << i;
        }
    }
}

TEST (SignalChain, theLofiHoldTakesAValueEveryHoldLengthSamplesAcrossBlocks)
{
    struct Case
    {
        float lofi;
        int holdLength;
    };

    for (const auto& c : { Case { 0.0f, 1 }, Case { 50.0f, 16 }, Case { 100.0f, 31 } })
    {
        SCOPED_TRACE (c.lofi);
        EngineHarness engine;
        engine.set ("dial", 0.40f);
        engine.set ("lofi", c.lofi);
        const auto output = engine.run (EngineHarness::tones (2, 1000), 7);

        std::vector<int> changes;

        for (int i = 0; i < 1000; ++i)
            if (! std::equal_to<float>() (output.getSample (0, i), i == 0 ? 0.0f : output.getSample (0, i - 1)))
                changes.push_back (i);

        ASSERT_GT (changes.size(), 10u);
        EXPECT_EQ (changes.front(), c.holdLength - 1);

        for (size_t j = 1; j < changes.size(); ++j)
            ASSERT_EQ (changes[j] - changes[j - 1], c.holdLength);
    }
}

TEST (SignalChain, mixZeroReturnsTheInputWhileTheEngineRuns)
{
    EngineHarness engine;
    engine.set ("mix", 0.0f);
    engine.set ("dial", 0.15f);
    const auto seedBefore = engine.processor.random.getSeed();

    const auto input = EngineHarness::tones (2, 5000);
    const auto output = engine.run (input, 512);

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 5000; ++i)
            ASSERT_EQ (output.getSample (c, i), input.getSample (c, i));

    for (const auto& station : engine.processor.stations)
        EXPECT_EQ (station.readPosition, 5000);

    EXPECT_NE (engine.processor.random.getSeed(), seedBefore);
}

namespace
{
    /** The fold and the written channels, for one channel count. */
    struct AnyChannelCount : ::testing::TestWithParam<int>
    {};
} // namespace

INSTANTIATE_TEST_SUITE_P (SignalChain, AnyChannelCount, ::testing::Values (1, 2, 4),
                          [] (const ::testing::TestParamInfo<int>& row) { return std::to_string (row.param) + "Channels"; });

TEST_P (AnyChannelCount, isFoldedToMonoAndOnlyTheFirstTwoAreWritten)
{
    const float dial = 0.40f;
    const auto numChannels = GetParam();
    EngineHarness multi, mono;
    multi.quiet (dial);
    mono.quiet (dial);

    const auto input = EngineHarness::tones (numChannels, 1500);
    juce::AudioBuffer<float> folded (1, 1500);

    for (int i = 0; i < 1500; ++i)
    {
        auto sum = 0.0f;

        for (int c = 0; c < numChannels; ++c)
            sum += input.getSample (c, i);

        folded.setSample (0, i, sum / (float) numChannels);
    }

    const auto output = multi.run (input, 128);
    const auto reference = mono.run (folded, 128);

    for (int i = 0; i < 1500; ++i)
    {
        ASSERT_EQ (output.getSample (0, i), reference.getSample (0, i));

        if (numChannels > 1)
        {
            ASSERT_EQ (output.getSample (1, i), reference.getSample (0, i));
        }

        for (int c = 2; c < numChannels; ++c)
            ASSERT_EQ (output.getSample (c, i), input.getSample (c, i));
    }
}

TEST (SignalChain, aBufferWithoutChannelsStillRunsTheEngine)
{
    EngineHarness engine;
    engine.set ("dial", 0.58f);
    juce::AudioBuffer<float> none (0, 300);
    engine.process (none);

    EXPECT_EQ (engine.processor.currentStation.load(), 3);
    EXPECT_EQ (engine.processor.stations[3].readPosition, 300);
    EXPECT_EQ (engine.processor.stations[0].readPosition, 300);
}

TEST (SignalChain, aBarelyReceivedStationNeitherPlaysNorMoves)
{
    // The dial's interval cannot reach such a value; the tuner, standing still, can.
    EngineHarness engine;
    const auto dial = 0.40f + 0.0349f;
    const auto reception = findStrongestStation (dial);
    ASSERT_EQ (reception.index, 2);
    ASSERT_GT (reception.strength, 0.0f);
    ASSERT_LE (reception.strength, 0.01f);

    engine.set ("autoScan", 1.0f);
    engine.set ("scanRate", 0.0f);
    engine.processor.scanPosition = dial;
    auto block = EngineHarness::tones (2, 400);
    engine.process (block);

    for (int k = 0; k < numStations; ++k)
        EXPECT_EQ (engine.processor.stations[(size_t) k].readPosition, k == 2 ? 0 : 400) << k;
}

TEST (SignalChain, theWetSignalNeverExceedsItsOutputLevel)
{
    EngineHarness engine;
    engine.set ("staticAmt", 100.0f);
    engine.set ("signal", 100.0f);
    engine.set ("lofi", 0.0f);
    engine.set ("dial", 0.40f);

    const auto output = engine.run (EngineHarness::tones (2, 20000, 1000.0f), 512);
    EXPECT_LE (output.getMagnitude (0, 20000), 0.7f);
    EXPECT_EQ (output.getMagnitude (0, 20000), 0.7f); // a very loud input saturates fully
}

TEST (SignalChain, staticHasTheMeanVarianceAndCrackleRateOfItsFormula)
{
    ScannerProcessor processor;
    constexpr int n = 2'000'000;
    double sum = 0.0, sumSquares = 0.0;
    int beyondNoise = 0;

    for (int i = 0; i < n; ++i)
    {
        const auto x = (double) processor.generateStatic();
        sum += x;
        sumSquares += x * x;
        beyondNoise += std::abs (x) > 0.35 ? 1 : 0;
    }

    const auto mean = sum / n;
    const auto variance = sumSquares / n - mean * mean;
    // noise uniform in [-0.35, 0.35): 0.35^2 / 3; crackle with p = 0.003, uniform in [-0.8, 0.8): p * 0.8^2 / 3
    const auto expectedVariance = 0.35 * 0.35 / 3.0 + 0.003 * 0.64 / 3.0;

    // Only a crackle takes a sample beyond the noise's reach; how often it does, numerically.
    double pastReach = 0.0;
    constexpr int grid = 2000;

    for (int a = 0; a < grid; ++a)
        for (int b = 0; b < grid; ++b)
            pastReach += std::abs (0.35 * (2.0 * (a + 0.5) / grid - 1.0) + 0.8 * (2.0 * (b + 0.5) / grid - 1.0)) > 0.35 ? 1 : 0;

    const auto expectedRate = 0.003 * pastReach / (grid * grid);
    const auto rate = (double) beyondNoise / n;

    EXPECT_NEAR (mean, 0.0, 5.0 * std::sqrt (expectedVariance / n));
    EXPECT_NEAR (variance, expectedVariance, expectedVariance * 0.01);
    EXPECT_NEAR (rate, expectedRate, 5.0 * std::sqrt (expectedRate / n));
}

TEST (SignalChain, twoInstancesMakeDifferentNoise)
{
    ScannerProcessor a, b;
    int same = 0;

    for (int i = 0; i < 1000; ++i)
        same += std::equal_to<float>() (a.generateStatic(), b.generateStatic()) ? 1 : 0;

    EXPECT_LT (same, 10);
}

TEST (SignalChain, prepareResetsOnlyTheScanPosition)
{
    EngineHarness engine;
    engine.set ("dial", 0.9f);
    auto block = EngineHarness::tones (2, 100);
    engine.process (block);

    const auto hold = engine.processor.lofiHoldValue;
    const auto counter = engine.processor.lofiHoldCounter;
    engine.processor.prepareToPlay (48000.0, 256);

    EXPECT_EQ (engine.processor.scanPosition, 0.5f);
    EXPECT_EQ (engine.processor.currentSampleRate, 48000.0);
    EXPECT_EQ (engine.processor.lofiHoldValue, hold);
    EXPECT_EQ (engine.processor.lofiHoldCounter, counter);
    EXPECT_EQ (engine.processor.stations[0].readPosition, 100);
    EXPECT_EQ (engine.processor.currentDial.load(), engine.raw ("dial"));
}

TEST (SignalChain, aNonFiniteInputBlockLeavesTheNextBlocksFinite)
{
    for (const auto bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        EngineHarness engine;
        engine.set ("dial", 0.40f);
        engine.set ("lofi", 100.0f);
        auto poisoned = EngineHarness::tones (2, 512);
        poisoned.setSample (0, 100, bad);
        engine.process (poisoned);

        for (int round = 0; round < 3; ++round)
        {
            auto block = EngineHarness::tones (2, 512);
            engine.process (block);

            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < 512; ++i)
                    ASSERT_TRUE (std::isfinite (block.getSample (c, i))) << "round " << round << " sample " << i;
        }
    }
}

namespace
{
    struct NonFiniteCase
    {
        const char* name;
        float value;
    };

    const NonFiniteCase nonFiniteValues[] = {
        { "NaN", std::numeric_limits<float>::quiet_NaN() },
        { "PlusInfinity", std::numeric_limits<float>::infinity() },
        { "MinusInfinity", -std::numeric_limits<float>::infinity() },
        { "Denormal", std::numeric_limits<float>::denorm_min() * 7.0f },
    };

    /** A bad value in one channel at a few samples of a loud block, at one mix. */
    struct NonFiniteInput : ::testing::TestWithParam<std::tuple<NonFiniteCase, int, float>>
    {};

    std::string nonFiniteName (const ::testing::TestParamInfo<NonFiniteInput::ParamType>& row)
    {
        return std::string (std::get<0> (row.param).name) + "InChannel" + std::to_string (std::get<1> (row.param)) + "AtMix"
               + std::to_string ((int) std::get<2> (row.param));
    }
} // namespace

INSTANTIATE_TEST_SUITE_P (SignalChain, NonFiniteInput,
                          ::testing::Combine (::testing::ValuesIn (nonFiniteValues), ::testing::Values (0, 1),
                                              ::testing::Values (0.0f, 50.0f, 100.0f)),
                          nonFiniteName);

TEST_P (NonFiniteInput, countsAsSilenceAndEveryOutputSampleStaysFiniteAndBounded)
{
    const auto [bad, badChannel, mix] = GetParam();
    EngineHarness engine;
    engine.set ("dial", 0.40f);
    engine.set ("mix", mix);
    engine.set ("staticAmt", 100.0f);

    for (int round = 0; round < 4; ++round)
    {
        const auto dry = EngineHarness::tones (2, 512);
        auto block = dry;

        for (const auto i : { 0, 1, 100, 511 })
            block.setSample (badChannel, i, bad.value);

        const auto input = block;
        engine.process (block);

        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
            {
                const auto in = input.getSample (c, i);
                const auto finiteDry = std::isfinite (in) ? in : 0.0f;
                const auto out = block.getSample (c, i);
                ASSERT_TRUE (std::isfinite (out)) << "round " << round << " channel " << c << " sample " << i;
                ASSERT_LE (std::abs (out), std::abs (finiteDry) + 0.7f) << "round " << round << " channel " << c << " sample " << i;

                // Fully dry, the input comes back, but for the bad samples (and denormals, which
                // the engine flushes to zero).
                if (std::equal_to<float>() (mix, 0.0f))
                {
                    ASSERT_NEAR (out, finiteDry, 1.0e-30f) << "round " << round << " channel " << c << " sample " << i;
                }
            }
    }
}
