#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

namespace
{
    using Set = juce::AudioChannelSet;

    juce::AudioProcessor::BusesLayout layoutOf (Set input, Set output)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (input);
        layout.outputBuses.add (output);
        return layout;
    }
} // namespace

TEST (ProcessorShell, answersTheHostsFixedQueries)
{
    ScannerProcessor processor;

    EXPECT_EQ (processor.getName(), "Ombrel Korrin Scanner");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());
    EXPECT_EQ (processor.getBypassParameter(), nullptr);
}

TEST (ProcessorShell, hasOneProgramWithoutAName)
{
    ScannerProcessor processor;

    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);

    for (int index : { 0, 1, -1, 99 })
    {
        processor.setCurrentProgram (index);
        processor.changeProgramName (index, "Renamed");
        EXPECT_EQ (processor.getCurrentProgram(), 0);
        EXPECT_EQ (processor.getProgramName (index), juce::String());
    }
}

TEST (ProcessorShell, identityMatchesTheProjectSettings)
{
    EXPECT_STREQ (JucePlugin_Name, "Ombrel Korrin Scanner");
    EXPECT_STREQ (JucePlugin_Manufacturer, "Halvessa");
    EXPECT_STREQ (JucePlugin_VersionString, "1.0.0");
    EXPECT_STREQ (JucePlugin_ManufacturerWebsite, "");
    EXPECT_STREQ (JucePlugin_ManufacturerEmail, "");
    EXPECT_STREQ (JucePlugin_Vst3Category, "Fx");
    EXPECT_EQ (JucePlugin_ManufacturerCode, 0x486c7678); // 'Hlvx'
    EXPECT_EQ (JucePlugin_PluginCode, 0x486c7663);       // 'Hlvc'
    EXPECT_EQ (JucePlugin_IsSynth, 0);
    EXPECT_EQ (JucePlugin_WantsMidiInput, 0);
    EXPECT_EQ (JucePlugin_ProducesMidiOutput, 0);
    EXPECT_EQ (JucePlugin_IsMidiEffect, 0);
}

TEST (ProcessorShell, declaresStereoInputAndOutputBuses)
{
    ScannerProcessor processor;

    ASSERT_EQ (processor.getBusCount (true), 1);
    ASSERT_EQ (processor.getBusCount (false), 1);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getBus (true, 0)->getDefaultLayout(), Set::stereo());
    EXPECT_EQ (processor.getBus (false, 0)->getDefaultLayout(), Set::stereo());
    EXPECT_TRUE (processor.getBus (true, 0)->isEnabledByDefault());
}

TEST (ProcessorShell, acceptsOnlyMatchingMonoOrStereoLayouts)
{
    struct Case
    {
        Set input, output;
        bool accepted;
    };

    const Case cases[] = {
        { Set::mono(), Set::mono(), true },
        { Set::stereo(), Set::stereo(), true },
        { Set::mono(), Set::stereo(), false },
        { Set::stereo(), Set::mono(), false },
        { Set::disabled(), Set::stereo(), false },
        { Set::disabled(), Set::disabled(), false },
        { Set::create5point1(), Set::create5point1(), false },
        { Set::stereo(), Set::quadraphonic(), false },
        { Set::discreteChannels (4), Set::discreteChannels (4), false },
    };

    ScannerProcessor processor;

    for (const auto& c : cases)
        EXPECT_EQ (processor.checkBusesLayoutSupported (layoutOf (c.input, c.output)), c.accepted)
            << c.input.getDescription() << " -> " << c.output.getDescription();
}

TEST (ProcessorShell, startsWithItsInitialEngineState)
{
    ScannerProcessor processor;

    EXPECT_EQ (processor.currentDial.load(), 0.5f);
    EXPECT_EQ (processor.signalStrength.load(), 0.0f);
    EXPECT_EQ (processor.currentStation.load(), -1);
    EXPECT_EQ (processor.currentSampleRate, 44100.0);
    EXPECT_EQ (processor.scanPosition, 0.5f);
    EXPECT_EQ (processor.scanDirection, 1.0f);
    EXPECT_FALSE (processor.isDwelling);
    EXPECT_EQ (processor.dwellSamplesRemaining, 0);
    EXPECT_EQ (processor.lofiHoldValue, 0.0f);
    EXPECT_EQ (processor.lofiHoldCounter, 0);

    for (const auto& station : processor.stations)
    {
        EXPECT_TRUE (station.loaded);
        EXPECT_EQ (station.readPosition, 0);
    }
}

TEST (ProcessorShell, factoryCreatesAScannerProcessor)
{
    std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());
    EXPECT_NE (dynamic_cast<ScannerProcessor*> (processor.get()), nullptr);
}
