#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

namespace
{
    struct ParameterCase
    {
        const char* id;
        const char* name;
        float start, end, interval, defaultRaw, defaultNormalised;
        const char* defaultText;
    };

    const ParameterCase parameterCases[] = {
        { "dial", "Dial", 0.0f, 1.0f, 0.001f, 0.5f, 0.5f, "0.500" },
        { "staticAmt", "Static", 0.0f, 100.0f, 0.1f, 40.0f, 0.4f, "40.0" },
        { "signal", "Signal", 0.0f, 100.0f, 0.1f, 60.0f, 0.6f, "60.0" },
        { "lofi", "Lo-Fi", 0.0f, 100.0f, 0.1f, 50.0f, 0.5f, "50.0" },
        { "autoScan", "Auto Scan", 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, "Off" },
        { "scanRate", "Scan Rate", 0.0f, 100.0f, 0.1f, 30.0f, 0.3f, "30.0" },
        { "mix", "Mix", 0.0f, 100.0f, 0.1f, 100.0f, 1.0f, "100.0" },
    };
} // namespace

TEST (Parameters, areSevenAndTheFifthIsASwitch)
{
    ScannerProcessor processor;
    const auto& list = processor.getParameters();
    ASSERT_EQ (list.size(), (int) std::size (parameterCases));
    EXPECT_NE (dynamic_cast<juce::AudioParameterBool*> (list[4]), nullptr);
}

namespace
{
    /** One case per parameter, in layout order, named by its ID. */
    struct EachParameter : ::testing::TestWithParam<int>
    {};

    std::string parameterName (const ::testing::TestParamInfo<int>& info)
    {
        return parameterCases[info.param].id;
    }
} // namespace

INSTANTIATE_TEST_SUITE_P (Parameters, EachParameter, ::testing::Range (0, (int) std::size (parameterCases)), parameterName);

TEST_P (EachParameter, standsInLayoutOrderWithItsRangeAndDefault)
{
    ScannerProcessor processor;
    const auto& list = processor.getParameters();
    const auto index = GetParam();
    ASSERT_LT (index, list.size());

    const auto& expected = parameterCases[index];
    auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (list[index]);
    ASSERT_NE (parameter, nullptr);

    EXPECT_EQ (parameter->paramID, expected.id);
    EXPECT_EQ (parameter->getVersionHint(), 1);
    EXPECT_EQ (parameter->getName (64), expected.name);
    EXPECT_EQ (parameter->getLabel(), juce::String());
    EXPECT_EQ (parameter->getNormalisableRange().start, expected.start);
    EXPECT_EQ (parameter->getNormalisableRange().end, expected.end);
    EXPECT_EQ (parameter->getNormalisableRange().interval, expected.interval);
    EXPECT_EQ (parameter->getNormalisableRange().skew, 1.0f);
    EXPECT_FALSE (parameter->getNormalisableRange().symmetricSkew);
    EXPECT_FLOAT_EQ (parameter->getDefaultValue(), expected.defaultNormalised);
    EXPECT_FLOAT_EQ (parameter->getValue(), expected.defaultNormalised);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue (expected.id)->load(), expected.defaultRaw);
    EXPECT_EQ (parameter->getText (parameter->getDefaultValue(), 32), expected.defaultText);
    EXPECT_TRUE (parameter->isAutomatable());
    EXPECT_FALSE (parameter->isMetaParameter());
    EXPECT_FALSE (parameter->isOrientationInverted());
    EXPECT_EQ (parameter->getCategory(), juce::AudioProcessorParameter::genericParameter);
}

TEST (Parameters, valueTextHasTheIntervalsDecimalsAndNoUnit)
{
    ScannerProcessor processor;
    const std::tuple<const char*, float, const char*> cases[] = {
        { "dial", 0.395f, "0.395" }, { "dial", 1.0f, "1.000" },  { "staticAmt", 0.0f, "0.0" },
        { "mix", 0.5f, "50.0" },     { "lofi", 0.123f, "12.3" }, { "autoScan", 1.0f, "On" },
    };

    for (const auto& [id, normalised, text] : cases)
        EXPECT_EQ (processor.parameters.getParameter (id)->getText (normalised, 32), text) << id;
}

TEST (Parameters, snapToTheirIntervals)
{
    ScannerProcessor processor;
    auto* dial = processor.parameters.getParameter ("dial");
    dial->setValueNotifyingHost (0.39549f);
    EXPECT_NEAR (processor.parameters.getRawParameterValue ("dial")->load(), 0.395f, 1.0e-6f);
}
