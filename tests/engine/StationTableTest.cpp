#include "engine/StationTable.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

TEST (StationTable, holdsSixStationsInDialOrder)
{
    const std::pair<float, const char*> expected[] = { { 0.08f, "NUMBERS" }, { 0.22f, "MORSE" }, { 0.40f, "SWEDISH" },
                                                       { 0.58f, "POACHER" }, { 0.75f, "GONG" },  { 0.90f, "MILITARY" } };

    ASSERT_EQ (stationTable.size(), 6u);

    for (size_t k = 0; k < stationTable.size(); ++k)
    {
        EXPECT_EQ (stationTable[k].position, expected[k].first);
        EXPECT_EQ (stationTable[k].name, expected[k].second);
    }
}

struct ReceptionCase
{
    float dial;
    int index;
    float strength;
};

TEST (StationTable, strongestStationAtDialValues)
{
    const ReceptionCase cases[] = {
        { 0.40f, 2, 1.0f },
        { 0.0f, -1, 0.0f },
        { 1.0f, -1, 0.0f },
        { 0.15f, -1, 0.0f },
        { 0.115f, -1, 0.0f },
        { 0.31f, -1, 0.0f }, // between two stations: never the nearer one
        { 0.395f, 2, 1.0f - std::abs (0.395f - 0.40f) / 0.035f },
        { 0.90f, 5, 1.0f },
    };

    for (const auto& c : cases)
    {
        const auto reception = findStrongestStation (c.dial);
        EXPECT_EQ (reception.index, c.index) << "dial " << c.dial;
        EXPECT_EQ (reception.strength, c.strength) << "dial " << c.dial;
    }
}

TEST (StationTable, strengthFallsLinearlyToZeroAtTheLockWindow)
{
    EXPECT_EQ (ScannerProcessor::getStationStrength (0.40f, 2), 1.0f);
    EXPECT_EQ (ScannerProcessor::getStationStrength (0.40f, 3), 0.0f);
    EXPECT_NEAR (ScannerProcessor::getStationStrength (0.40f + 0.0175f, 2), 0.5f, 1.0e-5f);
    EXPECT_EQ (ScannerProcessor::getStationStrength (0.75f - 0.036f, 4), 0.0f);
    EXPECT_GT (ScannerProcessor::getStationStrength (0.75f - 0.034f, 4), 0.0f);
}

TEST (StationTable, strongestPicksTheFirstOfEqualStrengths)
{
    // Two stations can never both receive; a strength of exactly 0 is never chosen.
    for (float dial = 0.0f; dial <= 1.0f; dial += 0.0005f)
    {
        int receiving = 0;

        for (int k = 0; k < numStations; ++k)
            receiving += stationStrength (dial, k) > 0.0f ? 1 : 0;

        EXPECT_LE (receiving, 1) << "dial " << dial;
        EXPECT_EQ (findStrongestStation (dial).index >= 0, receiving == 1) << "dial " << dial;
    }
}

struct BleedCase
{
    float dial;
    int station;
    bool bleeds;
    float gain;
};

TEST (StationTable, bleedGainsOfNeighbours)
{
    const auto ramp = [] (float d) { return (0.1f - d) / 0.065f * 0.08f; };
    const BleedCase cases[] = {
        { 0.0f, 0, true, ramp (0.08f) },
        { 0.15f, 0, true, ramp (std::abs (0.15f - 0.08f)) },
        { 0.15f, 1, true, ramp (std::abs (0.15f - 0.22f)) },
        { 0.115f, 0, true, ramp (std::abs (0.115f - 0.08f)) },
        { 1.0f, 5, false, 0.0f },  // 1.0 - 0.9f is not below 0.1f
        { 0.40f, 2, false, 0.0f }, // a received station never bleeds
        { 0.40f + 0.035f, 2, false, 0.0f },
        { 0.29f, 2, false, 0.0f },
        { 0.0f, 1, false, 0.0f },
    };

    for (const auto& c : cases)
    {
        auto gain = -1.0f;
        EXPECT_EQ (stationBleedGain (c.dial, c.station, gain), c.bleeds) << "dial " << c.dial << " station " << c.station;

        if (c.bleeds)
        {
            EXPECT_EQ (gain, c.gain) << "dial " << c.dial << " station " << c.station;
        }
    }

    float largest = 0.0f;
    ASSERT_TRUE (stationBleedGain (0.115f, 0, largest));
    EXPECT_NEAR (largest, 0.08f, 1.0e-5f);
}
