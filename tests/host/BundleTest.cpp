#include "BundleHost.h"

#include <gtest/gtest.h>

namespace
{
    std::unique_ptr<juce::AudioPluginInstance> loadBundle()
    {
        juce::String error;
        auto instance = BundleHost::load (BundleHost::defaultBundle(), 44100.0, 512, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    struct Declared
    {
        const char* id;
        const char* name;
        const char* defaultText;
    };

    const Declared declared[] = {
        { "dial", "Dial", "0.500" }, { "staticAmt", "Static", "40.0" },  { "signal", "Signal", "60.0" },
        { "lofi", "Lo-Fi", "50.0" }, { "autoScan", "Auto Scan", "Off" }, { "scanRate", "Scan Rate", "30.0" },
        { "mix", "Mix", "100.0" },
    };

    /** The numeric ID a VST3 host stores automation and parameter values under; it must never
        change for a parameter, or saved projects lose their automation. */
    juce::String vst3IdOf (const char* stringId)
    {
        return juce::String ((juce::int32) (juce::String (stringId).hashCode() & 0x7fffffff));
    }
} // namespace

TEST (Bundle, describesThePlugInAsAnFxFromHalvessa)
{
    const auto description = BundleHost::describe (BundleHost::defaultBundle());
    ASSERT_TRUE (description.has_value());

    EXPECT_EQ (description->name, "Ombrel Korrin Scanner");
    EXPECT_EQ (description->manufacturerName, "Halvessa");
    EXPECT_EQ (description->version, "1.0.0");
    EXPECT_EQ (description->category, "Fx");
    EXPECT_EQ (description->pluginFormatName, "VST3");
    EXPECT_FALSE (description->isInstrument);

    // What a scanner reports of the buses before any instance exists differs between framework
    // versions; an instance has one stereo input and one stereo output.
    auto instance = loadBundle();
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (instance->getBusCount (true), 1);
    EXPECT_EQ (instance->getBusCount (false), 1);
    EXPECT_EQ (instance->getChannelLayoutOfBus (true, 0), juce::AudioChannelSet::stereo());
    EXPECT_EQ (instance->getChannelLayoutOfBus (false, 0), juce::AudioChannelSet::stereo());
}

TEST (Bundle, findsNothingInAFolderThatIsNoBundle)
{
    EXPECT_FALSE (BundleHost::describe (juce::File::getSpecialLocation (juce::File::tempDirectory)).has_value());
}

TEST (Bundle, exposesTheSevenParametersBesideTheHostsBypass)
{
    auto instance = loadBundle();
    ASSERT_NE (instance, nullptr);
    const auto& parameters = instance->getParameters();
    ASSERT_EQ (parameters.size(), 8);

    for (int i = 0; i < 7; ++i)
    {
        const auto& hosted = dynamic_cast<juce::HostedAudioProcessorParameter&> (*parameters[i]);
        SCOPED_TRACE (declared[i].id);
        EXPECT_EQ (hosted.getParameterID(), vst3IdOf (declared[i].id));
        EXPECT_EQ (hosted.getName (32), declared[i].name);
        EXPECT_EQ (BundleHost::findParameter (*instance, declared[i].id), &hosted);
        EXPECT_EQ (hosted.getText (hosted.getDefaultValue(), 32), declared[i].defaultText);
        EXPECT_EQ (hosted.getCurrentValueAsText(), declared[i].defaultText);
    }

    EXPECT_EQ (parameters[7]->getName (32), "Bypass");
    EXPECT_EQ (BundleHost::findParameter (*instance, "nothing"), nullptr);
}

TEST (Bundle, acceptsStereoAndMonoButNotMixedLayouts)
{
    auto instance = loadBundle();
    ASSERT_NE (instance, nullptr);
    using Set = juce::AudioChannelSet;

    EXPECT_TRUE (instance->checkBusesLayoutSupported ({ { Set::stereo() }, { Set::stereo() } }));
    EXPECT_TRUE (instance->checkBusesLayoutSupported ({ { Set::mono() }, { Set::mono() } }));
    EXPECT_FALSE (instance->checkBusesLayoutSupported ({ { Set::mono() }, { Set::stereo() } }));
}

TEST (Bundle, stateSavedFromOneInstanceRestoresIntoAnother)
{
    auto first = loadBundle();
    auto second = loadBundle();
    ASSERT_NE (first, nullptr);
    ASSERT_NE (second, nullptr);

    const std::pair<const char*, float> values[] = { { "dial", 0.58f },    { "staticAmt", 3.3f }, { "signal", 100.0f }, { "lofi", 12.3f },
                                                     { "autoScan", 1.0f }, { "scanRate", 0.0f },  { "mix", 45.6f } };

    for (const auto& [id, value] : values)
        ASSERT_TRUE (BundleHost::setFromText (*first, id, juce::String (value))) << id;

    // Hosted parameter changes reach the plug-in with the next block.
    juce::AudioBuffer<float> block (2, 64);
    juce::MidiBuffer midi;
    first->prepareToPlay (44100.0, 64);
    block.clear();
    first->processBlock (block, midi);

    juce::MemoryBlock state;
    first->getStateInformation (state);
    second->setStateInformation (state.getData(), (int) state.getSize());

    for (const auto& [id, value] : values)
    {
        auto* restored = BundleHost::findParameter (*second, id);
        ASSERT_NE (restored, nullptr) << id;
        EXPECT_EQ (restored->getCurrentValueAsText(), BundleHost::findParameter (*first, id)->getCurrentValueAsText()) << id;
        EXPECT_NEAR (restored->getValue(), restored->getValueForText (juce::String (value)), 1.0e-4f) << id;
    }

    first->releaseResources();
}

TEST (Bundle, ignoresDamagedStateThroughTheHost)
{
    auto instance = loadBundle();
    ASSERT_NE (instance, nullptr);
    ASSERT_TRUE (BundleHost::setFromText (*instance, "dial", "0.9"));

    juce::MemoryBlock state;
    instance->getStateInformation (state);
    const auto before = BundleHost::findParameter (*instance, "dial")->getCurrentValueAsText();

    juce::Random random (7);

    for (int round = 0; round < 50; ++round)
    {
        juce::MemoryBlock damaged (state.getData(), (size_t) random.nextInt ((int) state.getSize()));
        instance->setStateInformation (damaged.getData(), (int) damaged.getSize());
    }

    instance->setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_EQ (BundleHost::findParameter (*instance, "dial")->getCurrentValueAsText(), before);
}
