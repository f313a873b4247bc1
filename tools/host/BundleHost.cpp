#include "BundleHost.h"

#include "processor/ScannerProcessor.h"

namespace
{
    /** The plug-in's own parameters, built from its layout, to learn their ranges. */
    /** The plug-in's own parameters, unowned by any processor: their IDs and ranges. */
    const std::vector<std::unique_ptr<juce::RangedAudioParameter>>& declaredParameters()
    {
        static const auto declared = ScannerProcessor::createParameters();
        return declared;
    }

    const juce::RangedAudioParameter* declaredParameter (const juce::String& stringId)
    {
        for (const auto& parameter : declaredParameters())
            if (parameter->paramID == stringId)
                return parameter.get();

        return nullptr;
    }
} // namespace

juce::File BundleHost::defaultBundle()
{
    return juce::File (SCANNER_VST3_BUNDLE);
}

std::optional<juce::PluginDescription> BundleHost::describe (const juce::File& bundle)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, bundle.getFullPathName());

    if (found.isEmpty())
        return std::nullopt;

    return *found.getFirst();
}

std::unique_ptr<juce::AudioPluginInstance> BundleHost::load (const juce::File& bundle, double sampleRate, int blockSize,
                                                             juce::String& error)
{
    const auto description = describe (bundle);

    if (! description)
    {
        error = "no VST3 plug-in found in " + bundle.getFullPathName();
        return nullptr;
    }

    juce::VST3PluginFormat format;
    return format.createInstanceFromDescription (*description, sampleRate, blockSize, error);
}

juce::String BundleHost::hostIdFor (const juce::String& stringId)
{
    // How the framework's VST3 client derives a parameter's numeric ID from its string ID.
    return juce::String ((juce::int32) (stringId.hashCode() & 0x7fffffff));
}

juce::String BundleHost::stringIdOf (const juce::AudioProcessorParameter& hosted)
{
    if (const auto* withId = dynamic_cast<const juce::HostedAudioProcessorParameter*> (&hosted))
        for (const auto& declared : declaredParameters())
            if (hostIdFor (declared->paramID) == withId->getParameterID())
                return declared->paramID;

    return {};
}

juce::AudioProcessorParameter* BundleHost::findParameter (juce::AudioPluginInstance& instance, const juce::String& stringId)
{
    for (auto* parameter : instance.getParameters())
        if (stringIdOf (*parameter) == stringId)
            return parameter;

    return nullptr;
}

std::optional<float> BundleHost::normalise (const juce::String& stringId, float rawValue)
{
    if (const auto* declared = declaredParameter (stringId))
        return declared->convertTo0to1 (rawValue);

    return std::nullopt;
}

bool BundleHost::setRawValue (juce::AudioPluginInstance& instance, const juce::String& stringId, float rawValue)
{
    auto* parameter = findParameter (instance, stringId);
    const auto normalised = normalise (stringId, rawValue);

    if (parameter == nullptr || ! normalised)
        return false;

    parameter->setValueNotifyingHost (*normalised);
    return true;
}

bool BundleHost::setRawValues (juce::AudioPluginInstance& instance, const juce::StringPairArray& rawValues, juce::String& error)
{
    for (const auto& id : rawValues.getAllKeys())
    {
        if (! setRawValue (instance, id, rawValues[id].getFloatValue()))
        {
            error = "unknown parameter " + id;
            return false;
        }
    }

    return true;
}
