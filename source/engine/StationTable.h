#pragma once

#include <juce_core/juce_core.h>

#include <array>

/** One station of the simulated FM band: where it sits on the dial and what it is called. */
struct StationInfo
{
    float position;
    juce::String name;
};

constexpr int numStations = 6;

/** The six stations, in dial order. Station k everywhere in the plug-in means entry k. */
extern const std::array<StationInfo, numStations> stationTable;

/** Distances on the dial (0..1) that the receiver's behaviour rests on. */
namespace Tuning
{
    /** Distance at which a station's strength reaches 0; inner edge of the bleed window. */
    constexpr float lockWindow = 0.035f;
    /** Outer edge of the bleed window. */
    constexpr float bleedWindow = 0.1f;
    /** Width of the bleed ramp (bleedWindow - lockWindow). */
    constexpr float bleedRamp = 0.065f;
    /** Bleed gain just outside the lock window. */
    constexpr float maxBleedGain = 0.08f;
} // namespace Tuning

/** The station received most strongly at one dial value. */
struct StationReception
{
    int index = -1;        // -1 when no station has any strength
    float strength = 0.0f; // 0..1
};

/** Strength (0..1) with which dial value x receives station k (0..5). */
float stationStrength (float x, int k) noexcept;

/** The first station with the strictly greatest strength at x, or (-1, 0) when all are 0. */
StationReception findStrongestStation (float x) noexcept;

/** Writes the gain with which station k leaks in at dial value x and returns true,
    or returns false when the station does not bleed there. */
bool stationBleedGain (float x, int k, float& gain) noexcept;
