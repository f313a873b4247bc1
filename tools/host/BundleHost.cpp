#include "BundleHost.h"

namespace
{
    juce::String looseKey (const juce::String& text)
    {
        return text.toLowerCase().retainCharacters ("abcdefghijklmnopqrstuvwxyz0123456789");
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

juce::String BundleHost::keyOf (const juce::AudioProcessorParameter& hosted)
{
    return looseKey (hosted.getName (64));
}

juce::AudioProcessorParameter* BundleHost::findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
{
    const auto wanted = looseKey (name);
    juce::AudioProcessorParameter* startsWithKey = nullptr;
    int numStartingWithKey = 0;

    if (wanted.isEmpty())
        return nullptr;

    for (auto* parameter : instance.getParameters())
    {
        const auto key = keyOf (*parameter);

        if (key == wanted)
            return parameter;

        if (key.isNotEmpty() && wanted.startsWith (key))
        {
            startsWithKey = parameter;
            ++numStartingWithKey;
        }
    }

    return numStartingWithKey == 1 ? startsWithKey : nullptr;
}

bool BundleHost::setFromText (juce::AudioPluginInstance& instance, const juce::String& name, const juce::String& text)
{
    auto* parameter = findParameter (instance, name);

    if (parameter == nullptr)
        return false;

    parameter->setValueNotifyingHost (parameter->getValueForText (text));
    return true;
}

bool BundleHost::setAllFromText (juce::AudioPluginInstance& instance, const juce::StringPairArray& texts, juce::String& error)
{
    for (const auto& name : texts.getAllKeys())
    {
        if (! setFromText (instance, name, texts[name]))
        {
            error = "unknown parameter " + name;
            return false;
        }
    }

    return true;
}
