#include "engine/StationRecordings.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
    struct Recording
    {
        const char* file;
        int station;
        int samples;
    };

    const Recording recordings[] = {
        { "station_creepy.wav", 0, 882000 },  { "station_morse.wav", 1, 661500 }, { "station_voice.wav", 2, 882000 },
        { "station_poacher.wav", 3, 882000 }, { "station_gong.wav", 4, 661500 },  { "station_military.wav", 5, 661500 },
    };

    juce::File resources()
    {
        return juce::File (SCANNER_RESOURCES_DIR);
    }

    double rmsDb (const float* data, int n)
    {
        double sum = 0.0;

        for (int i = 0; i < n; ++i)
            sum += (double) data[i] * data[i];

        return 10.0 * std::log10 (sum / n);
    }

    /** The player that a file in resources/ decodes to. */
    StationPlayer decodeCommitted (const char* file)
    {
        juce::MemoryBlock bytes;
        resources().getChildFile (file).loadFileAsData (bytes);
        StationPlayer player;
        player.loadFromMemory (bytes.getData(), (int) bytes.getSize(), 44100.0);
        return player;
    }

    /** The committed file decoded by the framework's WAV reader alone, as the test's own reference. */
    juce::AudioBuffer<float> independentDecoding (const char* file)
    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatReader> reader (
            wav.createReaderFor (resources().getChildFile (file).createInputStream().release(), true));
        juce::AudioBuffer<float> samples;

        if (reader != nullptr)
        {
            samples.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
            reader->read (&samples, 0, samples.getNumSamples(), 0, true, true);
        }

        return samples;
    }

    /** One case per station, named after its file. */
    struct EachRecording : ::testing::TestWithParam<Recording>
    {};

    std::string recordingName (const ::testing::TestParamInfo<Recording>& info)
    {
        return juce::File::createLegalFileName (info.param.file).upToFirstOccurrenceOf (".", false, false).toStdString();
    }
} // namespace

INSTANTIATE_TEST_SUITE_P (Recordings, EachRecording, ::testing::ValuesIn (recordings), recordingName);

TEST_P (EachRecording, isTheEmbeddedRecordingOfItsStation)
{
    ScannerProcessor processor;
    const auto& r = GetParam();
    const auto& player = processor.stations[(size_t) r.station];
    ASSERT_TRUE (player.loaded);
    ASSERT_EQ (player.samples().getNumChannels(), 1);
    ASSERT_EQ (player.samples().getNumSamples(), r.samples);
    EXPECT_GT (rmsDb (player.samples().getReadPointer (0), r.samples), -30.0);

    // The very recording of that file, not another station's.
    const auto committed = decodeCommitted (r.file);
    ASSERT_EQ (committed.samples().getNumSamples(), r.samples);
    EXPECT_EQ (
        std::memcmp (committed.samples().getReadPointer (0), player.samples().getReadPointer (0), sizeof (float) * (size_t) r.samples), 0);
}

TEST_P (EachRecording, playsEverySampleOfAnIndependentDecodingOfItsFile)
{
    const auto& r = GetParam();
    const auto reference = independentDecoding (r.file);
    ASSERT_EQ (reference.getNumChannels(), 1);
    ASSERT_EQ (reference.getNumSamples(), r.samples);

    // Two instances at once play the one shared copy, each from its own position.
    ScannerProcessor first, second;
    auto& player = first.stations[(size_t) r.station];
    auto& other = second.stations[(size_t) r.station];
    EXPECT_EQ (&player.samples(), &other.samples());
    other.advanceBy (1000);

    for (int i = 0; i < r.samples; ++i)
        ASSERT_EQ (player.nextSample(), reference.getSample (0, i)) << "sample " << i;

    EXPECT_EQ (player.readPosition, 0); // wrapped once, back at the start
    EXPECT_EQ (other.readPosition, 1000);
}

TEST_P (EachRecording, isA16BitMonoPcmWavAt44kWithExactSizes)
{
    const auto& r = GetParam();
    juce::MemoryBlock bytes;
    ASSERT_TRUE (resources().getChildFile (r.file).loadFileAsData (bytes));
    const auto* b = static_cast<const char*> (bytes.getData());
    const auto le32 = [b] (size_t at) { return juce::ByteOrder::littleEndianInt (b + at); };
    const auto le16 = [b] (size_t at) { return juce::ByteOrder::littleEndianShort (b + at); };

    EXPECT_EQ (std::string (b, 4), "RIFF");
    EXPECT_EQ (le32 (4), bytes.getSize() - 8);
    EXPECT_EQ (std::string (b + 8, 4), "WAVE");
    EXPECT_EQ (std::string (b + 12, 4), "fmt ");
    EXPECT_EQ (le32 (16), 16u);
    EXPECT_EQ (le16 (20), 1); // integer PCM
    EXPECT_EQ (le16 (22), 1); // mono
    EXPECT_EQ (le32 (24), 44100u);
    EXPECT_EQ (le32 (28), 88200u);
    EXPECT_EQ (le16 (32), 2);
    EXPECT_EQ (le16 (34), 16);

    // After the format chunk: optional chunks (INFO), then the data.
    size_t at = 36;

    while (at + 8 <= bytes.getSize() && std::string (b + at, 4) != "data")
        at += 8 + le32 (at + 4) + (le32 (at + 4) & 1);

    ASSERT_LE (at + 8, bytes.getSize());
    EXPECT_EQ (le32 (at + 4), (juce::uint32) r.samples * 2);
    EXPECT_EQ (at + 8 + (size_t) r.samples * 2, bytes.getSize());
}

TEST (SharedRecordings, areFreedWithTheLastInstanceAndDecodedAgainAlike)
{
    std::weak_ptr<const StationRecordings::Set> shared;
    std::vector<float> firstSamples;

    {
        ScannerProcessor processor;
        shared = StationRecordings::acquire();
        firstSamples.assign (processor.stations[2].samples().getReadPointer (0),
                             processor.stations[2].samples().getReadPointer (0) + processor.stations[2].samples().getNumSamples());
        EXPECT_FALSE (shared.expired());
    }

    EXPECT_TRUE (shared.expired());

    ScannerProcessor again;
    const auto& samples = again.stations[2].samples();
    ASSERT_EQ ((size_t) samples.getNumSamples(), firstSamples.size());
    EXPECT_EQ (std::memcmp (samples.getReadPointer (0), firstSamples.data(), firstSamples.size() * sizeof (float)), 0);
}

TEST (Recordings, loopWithoutAClickAndSitAtEvenLevels)
{
    std::vector<double> rmsLevels;

    for (const auto& r : recordings)
    {
        SCOPED_TRACE (r.file);
        const auto player = decodeCommitted (r.file);
        const auto* data = player.samples().getReadPointer (0);
        const auto n = player.samples().getNumSamples();

        auto largestStep = 0.0f, peak = 0.0f;

        for (int i = 0; i < n; ++i)
        {
            peak = juce::jmax (peak, std::abs (data[i]));

            if (i > 0)
                largestStep = juce::jmax (largestStep, std::abs (data[i] - data[i - 1]));
        }

        EXPECT_LE (std::abs (data[0] - data[n - 1]), largestStep);
        EXPECT_LE (std::abs (data[0] - data[n - 1]), 0.01f); // both ends fade to silence

        const auto peakDb = juce::Decibels::gainToDecibels (peak);
        EXPECT_GE (peakDb, -6.0f);
        EXPECT_LE (peakDb, -1.0f);
        rmsLevels.push_back (rmsDb (data, n));
    }

    const auto [quietest, loudest] = std::minmax_element (rmsLevels.begin(), rmsLevels.end());
    EXPECT_LE (*loudest - *quietest, 3.0);
}
