#include "EngineHarness.h"

#include <gtest/gtest.h>

namespace
{
    /** Processes one block of silence of n samples. */
    void block (EngineHarness& engine, int n)
    {
        auto buffer = EngineHarness::silence (2, n);
        engine.process (buffer);
    }

    /** Parks the tuner at a dial value with auto-scan off, then turns auto-scan on. */
    void startScanningFrom (EngineHarness& engine, float dial, float rate)
    {
        engine.set ("autoScan", 0.0f);
        engine.set ("dial", dial);
        block (engine, 0);
        engine.set ("scanRate", rate);
        engine.set ("autoScan", 1.0f);
    }
} // namespace

TEST (AutoScan, sweepsAtItsRateWhateverTheBlockSize)
{
    struct Case
    {
        float rate;
        int blockSize;
    };

    for (const auto& c : { Case { 30.0f, 64 }, Case { 30.0f, 441 }, Case { 30.0f, 4410 }, Case { 100.0f, 64 }, Case { 100.0f, 4410 } })
    {
        SCOPED_TRACE (testing::Message() << "rate " << c.rate << " block " << c.blockSize);
        EngineHarness engine;
        startScanningFrom (engine, 0.45f, c.rate);

        int done = 0;

        for (; done < 4410; done += c.blockSize)
            block (engine, c.blockSize);

        // About 0.1 s at 0.4 * rate / 100 dial units per second.
        const auto seconds = (float) done / 44100.0f;
        EXPECT_NEAR (engine.processor.scanPosition, engine.raw ("dial") + seconds * 0.4f * c.rate / 100.0f, 2.0e-5f);
        EXPECT_EQ (engine.processor.currentDial.load(), engine.processor.scanPosition);
    }
}

TEST (AutoScan, locksOntoAStationAgainAndAgainWhileInsideTheLockZone)
{
    struct Case
    {
        float rate;
        int fewestLocks, mostLocks;
    };

    for (const auto& c : { Case { 30.0f, 7, 8 }, Case { 100.0f, 2, 3 } })
    {
        SCOPED_TRACE (c.rate);
        EngineHarness engine;
        startScanningFrom (engine, 0.57f, c.rate);

        int locks = 0;
        bool wasDwelling = false;

        while (engine.processor.scanPosition < 0.59f)
        {
            const auto before = engine.processor.scanPosition;
            block (engine, 512);
            auto& p = engine.processor;

            if (p.isDwelling && ! wasDwelling)
            {
                ++locks;
                EXPECT_GT (ScannerProcessor::getStationStrength (p.scanPosition, 3), 0.85f);
                EXPECT_GE (p.dwellSamplesRemaining, 44100);
                EXPECT_LT (p.dwellSamplesRemaining, 4 * 44100);
            }
            else if (wasDwelling)
            {
                EXPECT_EQ (p.scanPosition, before); // the position stands while pausing and in the block the pause ends
            }

            wasDwelling = p.isDwelling;
        }

        EXPECT_GE (locks, c.fewestLocks);
        EXPECT_LE (locks, c.mostLocks);
    }
}

TEST (AutoScan, pausesForOneToFourSeconds)
{
    EngineHarness engine;
    startScanningFrom (engine, 0.395f, 30.0f);
    std::vector<int> pauses;

    for (int round = 0; round < 200 && pauses.size() < 20; ++round)
    {
        startScanningFrom (engine, 0.40f, 0.0f); // standing in the lock zone: pause follows pause
        block (engine, 64);
        ASSERT_TRUE (engine.processor.isDwelling);
        pauses.push_back (engine.processor.dwellSamplesRemaining);
        engine.processor.isDwelling = false;
    }

    const auto [shortest, longest] = std::minmax_element (pauses.begin(), pauses.end());
    EXPECT_GE (*shortest, 44100);
    EXPECT_LT (*longest, 4 * 44100);
    EXPECT_NE (*shortest, *longest);
}

TEST (AutoScan, bouncesAtBothEndsOfTheBand)
{
    EngineHarness engine;
    startScanningFrom (engine, 0.95f, 100.0f);
    block (engine, 8192); // a step of 0.4 * 8192 / 44100, past 1.0

    EXPECT_EQ (engine.processor.scanPosition, 1.0f);
    EXPECT_EQ (engine.processor.scanDirection, -1.0f);
    block (engine, 512);
    EXPECT_LT (engine.processor.scanPosition, 1.0f);

    startScanningFrom (engine, 0.03f, 100.0f);
    block (engine, 8192);
    EXPECT_EQ (engine.processor.scanPosition, 0.0f);
    EXPECT_EQ (engine.processor.scanDirection, 1.0f);
    block (engine, 512);
    EXPECT_GT (engine.processor.scanPosition, 0.0f);
}

TEST (AutoScan, aPauseFreezesWhileAutoScanIsOffAndResumesAfterwards)
{
    EngineHarness engine;
    startScanningFrom (engine, 0.40f, 30.0f);
    block (engine, 512);
    ASSERT_TRUE (engine.processor.isDwelling);
    const auto remaining = engine.processor.dwellSamplesRemaining;

    engine.set ("autoScan", 0.0f);
    engine.set ("dial", 0.7f);

    for (int i = 0; i < 20; ++i)
        block (engine, 512);

    EXPECT_TRUE (engine.processor.isDwelling);
    EXPECT_EQ (engine.processor.dwellSamplesRemaining, remaining);
    EXPECT_EQ (engine.processor.scanPosition, engine.raw ("dial"));

    engine.set ("autoScan", 1.0f);
    block (engine, 512);
    EXPECT_EQ (engine.processor.dwellSamplesRemaining, remaining - 512);
    EXPECT_EQ (engine.processor.scanPosition, engine.raw ("dial"));
}

TEST (AutoScan, ignoresTheDialWhileScanning)
{
    EngineHarness engine;
    startScanningFrom (engine, 0.45f, 30.0f);
    block (engine, 512);
    const auto position = engine.processor.scanPosition;

    engine.set ("dial", 0.9f);
    block (engine, 512);
    EXPECT_GT (engine.processor.scanPosition, position);
    EXPECT_LT (engine.processor.scanPosition, 0.46f);
    EXPECT_EQ (engine.processor.currentDial.load(), engine.processor.scanPosition);
}

TEST (AutoScan, anEmptyBlockMovesNothingButPublishesTheReadouts)
{
    EngineHarness engine;
    startScanningFrom (engine, 0.395f, 100.0f);
    block (engine, 0);

    EXPECT_EQ (engine.processor.scanPosition, engine.raw ("dial"));
    EXPECT_EQ (engine.processor.currentDial.load(), engine.raw ("dial"));
    EXPECT_EQ (engine.processor.currentStation.load(), 2);

    engine.set ("autoScan", 0.0f);
    engine.set ("dial", 0.75f);
    block (engine, 0);
    EXPECT_EQ (engine.processor.currentDial.load(), engine.raw ("dial"));
    EXPECT_EQ (engine.processor.currentStation.load(), 4);
    EXPECT_EQ (engine.processor.signalStrength.load(), findStrongestStation (engine.raw ("dial")).strength);
}

TEST (Readouts, holdTheirInitialValuesUntilTheFirstBlockThenFollowTheDial)
{
    EngineHarness engine;
    EXPECT_EQ (engine.processor.currentDial.load(), 0.5f);
    EXPECT_EQ (engine.processor.currentStation.load(), -1);
    EXPECT_EQ (engine.processor.signalStrength.load(), 0.0f);

    const std::tuple<float, int, float> cases[] = { { 0.40f, 2, 1.0f }, { 0.31f, -1, 0.0f }, { 0.0f, -1, 0.0f }, { 0.9f, 5, 1.0f } };

    for (const auto& [dial, station, strength] : cases)
    {
        engine.set ("dial", dial);
        block (engine, 32);
        EXPECT_EQ (engine.processor.currentDial.load(), engine.raw ("dial"));
        EXPECT_EQ (engine.processor.currentStation.load(), station);
        EXPECT_NEAR (engine.processor.signalStrength.load(), strength, 1.0e-5f);
        EXPECT_EQ (engine.processor.signalStrength.load(), findStrongestStation (engine.raw ("dial")).strength);
    }
}

TEST (Readouts, theOneBlockExample)
{
    EngineHarness engine;
    engine.set ("dial", 0.395f);
    block (engine, 16);

    EXPECT_EQ (engine.processor.currentDial.load(), engine.raw ("dial"));
    EXPECT_NEAR (engine.raw ("dial"), 0.395f, 1.0e-6f);
    EXPECT_EQ (engine.processor.currentStation.load(), 2);
    EXPECT_NEAR (engine.processor.signalStrength.load(), 0.857f, 0.001f);
    EXPECT_FLOAT_EQ (engine.processor.tuningFilter.getCutoffFrequency(), 1385.0f);
    EXPECT_FLOAT_EQ (engine.processor.tuningFilter.getResonance(), 5.2f);
    EXPECT_EQ (engine.processor.lofiHoldCounter, 0); // the 16th sample took a fresh value
    block (engine, 15);
    EXPECT_EQ (engine.processor.lofiHoldCounter, 15);
}
