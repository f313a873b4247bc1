#include "RawParameters.h"

bool RawParameters::set (juce::AudioProcessorValueTreeState& store, const juce::String& id, float raw)
{
    auto* parameter = store.getParameter (id);

    if (parameter == nullptr)
        return false;

    parameter->setValueNotifyingHost (parameter->convertTo0to1 (raw));
    return true;
}

bool RawParameters::setAll (juce::AudioProcessorValueTreeState& store, const juce::StringPairArray& rawValues, juce::String& error)
{
    for (const auto& id : rawValues.getAllKeys())
    {
        if (! set (store, id, rawValues[id].getFloatValue()))
        {
            error = "unknown parameter " + id;
            return false;
        }
    }

    return true;
}

float RawParameters::get (const juce::AudioProcessorValueTreeState& store, const juce::String& id)
{
    return store.getRawParameterValue (id)->load();
}
