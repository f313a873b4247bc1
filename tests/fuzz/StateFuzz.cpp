// libFuzzer target: arbitrary bytes as a host's saved state. Afterwards every parameter must
// hold a finite value inside its range, and a save of the result must restore, value for
// value, into another instance reset to its defaults.

#include "processor/ScannerProcessor.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
    void failWith (const char* what, const juce::String& id, float value)
    {
        std::fprintf (stderr, "state fuzz: %s: %s = %g\n", what, id.toRawUTF8(), (double) value);
        std::abort();
    }

    float rawValue (ScannerProcessor& processor, const juce::String& id)
    {
        return processor.parameters.getRawParameterValue (id)->load();
    }
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Made once and kept to the end of the process: libFuzzer leaves through exit(), where
    // tearing the framework down after its own static objects would be a fault of this harness.
    static auto* framework = new juce::ScopedJuceInitialiser_GUI();
    static auto& target = *new ScannerProcessor();
    static auto& fresh = *new ScannerProcessor();
    juce::ignoreUnused (framework);

    target.setStateInformation (data, (int) juce::jmin (size, (size_t) std::numeric_limits<int>::max()));

    for (auto* parameter : target.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        const auto value = rawValue (target, ranged->paramID);
        const auto& range = ranged->getNormalisableRange();

        if (! std::isfinite (value) || value < range.start || value > range.end)
            failWith ("out of range", ranged->paramID, value);
    }

    juce::MemoryBlock saved;
    target.getStateInformation (saved);

    for (auto* parameter : fresh.getParameters())
        parameter->setValueNotifyingHost (parameter->getDefaultValue());

    fresh.setStateInformation (saved.getData(), (int) saved.getSize());

    for (auto* parameter : target.getParameters())
    {
        const auto& id = dynamic_cast<juce::RangedAudioParameter*> (parameter)->paramID;

        if (rawValue (fresh, id) != rawValue (target, id))
            failWith ("not restored", id, rawValue (fresh, id));
    }

    return 0;
}
