#include "engine/StationPlayer.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

namespace
{
    /** A 16-bit PCM WAV image, written byte by byte, of the given channels at the given rate.
        Samples must be multiples of 1/32768 so that they survive 16 bits exactly. */
    juce::MemoryBlock wavImage (double sampleRate, const std::vector<std::vector<float>>& channels)
    {
        const auto numChannels = (int) channels.size();
        const auto numSamples = channels.empty() ? 0 : (int) channels[0].size();
        const auto dataBytes = numSamples * numChannels * 2;

        juce::MemoryBlock block;
        juce::MemoryOutputStream out (block, false);
        out.write ("RIFF", 4);
        out.writeInt (36 + dataBytes);
        out.write ("WAVEfmt ", 8);
        out.writeInt (16);
        out.writeShort (1);
        out.writeShort ((short) numChannels);
        out.writeInt ((int) sampleRate);
        out.writeInt ((int) sampleRate * numChannels * 2);
        out.writeShort ((short) (numChannels * 2));
        out.writeShort (16);
        out.write ("data", 4);
        out.writeInt (dataBytes);

        for (int i = 0; i < numSamples; ++i)
            for (const auto& channel : channels)
                out.writeShort ((short) std::lround (channel[(size_t) i] * 32768.0f));

        out.flush();
        return block;
    }

    /** n samples of a ramp exactly representable in 16 bits. */
    std::vector<float> ramp (int n)
    {
        std::vector<float> samples;

        for (int i = 0; i < n; ++i)
            samples.push_back ((float) (i * 64 - 2048) / 32768.0f);

        return samples;
    }

    StationPlayer load (const juce::MemoryBlock& image)
    {
        StationPlayer player;
        player.loadFromMemory (image.getData(), (int) image.getSize(), 44100.0);
        return player;
    }

    std::vector<float> contents (const StationPlayer& player)
    {
        const auto* data = player.samples().getReadPointer (0);
        return { data, data + player.samples().getNumSamples() };
    }
} // namespace

TEST (StationPlayer, storesA441kMonoFileSampleForSample)
{
    const auto samples = ramp (100);
    const auto player = load (wavImage (44100.0, { samples }));

    EXPECT_TRUE (player.loaded);
    EXPECT_EQ (player.readPosition, 0);
    ASSERT_EQ (player.samples().getNumChannels(), 1);
    EXPECT_EQ (contents (player), samples);
}

TEST (StationPlayer, convertsOtherRatesByLinearInterpolation)
{
    const auto samples = ramp (480);
    const auto player = load (wavImage (48000.0, { samples }));
    const auto ratio = 44100.0 / 48000.0;

    ASSERT_TRUE (player.loaded);
    ASSERT_EQ (player.samples().getNumSamples(), (int) (480 * ratio));

    for (int i = 0; i < player.samples().getNumSamples(); ++i)
    {
        const auto p = (double) i / ratio;
        const auto j = (int) p;
        const auto f = (float) (p - j);
        const auto expected = j + 1 < 480 ? samples[(size_t) j] * (1.0f - f) + samples[(size_t) j + 1] * f : samples[(size_t) j];
        EXPECT_EQ (player.samples().getSample (0, i), expected) << "sample " << i;
    }
}

TEST (StationPlayer, leavesRatesWithinOneHertzUnconverted)
{
    struct Case
    {
        double rate;
        int expectedLength;
    };

    const Case cases[] = {
        { 44100.0, 1000 }, { 44101.0, 1000 }, { 44099.0, 1000 }, { 44102.0, (int) (1000 * (44100.0 / 44102.0)) }, { 22050.0, 2000 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (load (wavImage (c.rate, { ramp (1000) })).samples().getNumSamples(), c.expectedLength) << c.rate << " Hz";
}

TEST (StationPlayer, foldsChannelsToTheirAverage)
{
    auto left = ramp (64), right = ramp (64);

    for (auto& sample : right)
        sample = -sample;

    const auto opposite = load (wavImage (44100.0, { left, right }));
    ASSERT_TRUE (opposite.loaded);
    ASSERT_EQ (opposite.samples().getNumChannels(), 1);

    for (const auto sample : contents (opposite))
        EXPECT_EQ (sample, 0.0f);

    const auto same = load (wavImage (44100.0, { left, left }));
    EXPECT_EQ (contents (same), left);
}

TEST (StationPlayer, playsEveryCaseAsItsOperationsPromise)
{
    struct Case
    {
        const char* name;
        juce::MemoryBlock image;
        bool loaded;
        int length;
    };

    const juce::String notWav = "RIFF....this is not a wave file at all";
    Case cases[] = {
        { "mono 44.1 kHz", wavImage (44100.0, { ramp (10) }), true, 10 },
        { "48 kHz", wavImage (48000.0, { ramp (48) }), true, 44 },
        { "opposite stereo", wavImage (44100.0, { { 0.5f, 0.25f }, { -0.5f, -0.25f } }), true, 2 },
        { "empty data", wavImage (44100.0, { {} }), true, 0 },
        { "not a WAV", juce::MemoryBlock (notWav.toRawUTF8(), notWav.getNumBytesAsUTF8()), false, 0 },
        { "no bytes", juce::MemoryBlock(), false, 0 },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto player = load (c.image);
        EXPECT_EQ (player.loaded, c.loaded);
        EXPECT_EQ (player.samples().getNumSamples(), c.length);

        if (c.length == 0)
        {
            EXPECT_EQ (player.nextSample(), 0.0f);
            player.advance();
            EXPECT_EQ (player.readPosition, 0);
            EXPECT_EQ (player.previousSample(), 0.0f);
            continue;
        }

        const auto first = player.samples().getSample (0, 0);
        EXPECT_EQ (player.previousSample(), first); // right after loading
        EXPECT_EQ (player.nextSample(), first);
        EXPECT_EQ (player.readPosition, juce::jmin (1, c.length - 1) % c.length);
        player.advance();
        EXPECT_EQ (player.readPosition, 2 % c.length);
    }
}

TEST (StationPlayer, wrapsAroundAtTheEndOfTheRecording)
{
    const auto samples = ramp (37);
    auto player = load (wavImage (44100.0, { samples }));

    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ (player.nextSample(), samples[i]) << i;

    EXPECT_EQ (player.readPosition, 0);
    EXPECT_EQ (player.previousSample(), samples[0]); // sample 0 after a wrap, not the last one
    EXPECT_EQ (player.nextSample(), samples[0]);

    for (size_t i = 0; i < samples.size(); ++i)
        player.advance();

    EXPECT_EQ (player.readPosition, 1);
    EXPECT_EQ (player.previousSample(), samples[0]);
    player.advance();
    EXPECT_EQ (player.previousSample(), samples[1]);
}

TEST (StationPlayer, aFailedLoadKeepsWhatThePlayerHad)
{
    auto player = load (wavImage (44100.0, { ramp (5) }));
    const juce::String garbage = "garbage";
    player.loadFromMemory (garbage.toRawUTF8(), (int) garbage.getNumBytesAsUTF8(), 44100.0);

    EXPECT_TRUE (player.loaded);
    EXPECT_EQ (player.samples().getNumSamples(), 5);
}

TEST (StationPlayer, aSharedRecordingPlaysFromItsStartAndAnEmptyOneLeavesTheStationSilent)
{
    auto shared = std::make_shared<juce::AudioBuffer<float>> (1, 3);
    shared->setSample (0, 0, 0.1f);
    shared->setSample (0, 1, 0.2f);
    shared->setSample (0, 2, 0.3f);

    StationPlayer first, second;
    first.play (shared);
    second.play (shared);
    EXPECT_TRUE (first.loaded);
    EXPECT_EQ (first.nextSample(), 0.1f);
    EXPECT_EQ (first.nextSample(), 0.2f);
    EXPECT_EQ (second.nextSample(), 0.1f); // positions are each player's own
    EXPECT_EQ (&first.samples(), shared.get());

    // What could not be decoded is empty: the station stays silent and unloaded.
    StationPlayer silent;
    silent.play (std::make_shared<juce::AudioBuffer<float>>());
    silent.play (nullptr);
    EXPECT_FALSE (silent.loaded);
    EXPECT_EQ (silent.nextSample(), 0.0f);
    EXPECT_EQ (silent.previousSample(), 0.0f);
    EXPECT_EQ (silent.samples().getNumSamples(), 0);
}
