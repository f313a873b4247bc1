#pragma once

#include "engine/StationTable.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <memory>

/** The six embedded station recordings, decoded once per process into read-only buffers that
    every instance plays from (each instance keeps only its own read positions). The set lives
    while an instance holds it: the first instance decodes it, the last one to go frees it, so
    a host that unloads every instance gets the memory back even if it keeps the module. */
class StationRecordings
{
public:
    /** Entry k is station k's recording, mono at 44.1 kHz; empty where it could not be decoded. */
    using Set = std::array<juce::AudioBuffer<float>, numStations>;

    /** The shared set, decoded first if no instance holds one. Safe from any thread at once
        (creators wait for one decoding); never called on the audio thread. */
    static std::shared_ptr<const Set> acquire();

    /** A fresh decoding of the six recordings, shared with nobody. */
    static Set decodeAll();
};
