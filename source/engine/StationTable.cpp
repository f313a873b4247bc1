#include "engine/StationTable.h"

#include <cmath>

const std::array<StationInfo, numStations> stationTable { {
    { 0.08f, "NUMBERS" },
    { 0.22f, "MORSE" },
    { 0.40f, "SWEDISH" },
    { 0.58f, "POACHER" },
    { 0.75f, "GONG" },
    { 0.90f, "MILITARY" },
} };

static float distanceTo (float x, int k) noexcept
{
    return std::abs (x - stationTable[(size_t) k].position);
}

float stationStrength (float x, int k) noexcept
{
    const auto d = distanceTo (x, k);

    if (d > Tuning::lockWindow)
        return 0.0f;

    return 1.0f - d / Tuning::lockWindow;
}

StationReception findStrongestStation (float x) noexcept
{
    StationReception best;

    for (int k = 0; k < numStations; ++k)
    {
        const auto strength = stationStrength (x, k);

        if (strength > best.strength)
        {
            best.strength = strength;
            best.index = k;
        }
    }

    return best;
}

bool stationBleedGain (float x, int k, float& gain) noexcept
{
    const auto d = distanceTo (x, k);

    if (! (d < Tuning::bleedWindow && d > Tuning::lockWindow))
        return false;

    // Subtract, divide, multiply: the order fixes the single-precision result.
    gain = (Tuning::bleedWindow - d) / Tuning::bleedRamp * Tuning::maxBleedGain;
    return true;
}
