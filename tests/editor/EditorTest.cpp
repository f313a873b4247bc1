#include "BackgroundAudio.h"
#include "EditorDeleter.h"
#include "PixelProbe.h"
#include "RawParameters.h"
#include "editor/ScannerEditor.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <thread>

namespace
{
    struct EditorFixture : ::testing::Test
    {
        float raw (const char* id) { return processor.parameters.getRawParameterValue (id)->load(); }

        void setRaw (const char* id, float value) { RawParameters::set (processor.parameters, id, value); }

        ScannerProcessor processor;
        ScannerEditor editor { processor };
    };
} // namespace

TEST_F (EditorFixture, laysOutEveryChildToThePixel)
{
    using R = juce::Rectangle<int>;
    const std::pair<juce::Component*, R> expected[] = {
        { &editor.radioDisplay, R (16, 63, 668, 159) },   { &editor.dialSlider, R (116, 230, 568, 36) },
        { &editor.autoScanButton, R (16, 276, 200, 36) }, { &editor.staticLabel, R (16, 320, 133, 16) },
        { &editor.staticSlider, R (16, 336, 133, 148) },  { &editor.signalLabel, R (149, 320, 133, 16) },
        { &editor.signalSlider, R (149, 336, 133, 148) }, { &editor.lofiLabel, R (282, 320, 133, 16) },
        { &editor.lofiSlider, R (282, 336, 133, 148) },   { &editor.rateLabel, R (415, 320, 133, 16) },
        { &editor.rateSlider, R (415, 336, 133, 148) },   { &editor.mixLabel, R (548, 320, 136, 16) },
        { &editor.mixSlider, R (548, 336, 136, 148) },    { &editor.crtOverlay, R (0, 0, 700, 520) },
    };

    EXPECT_EQ (editor.getWidth(), 700);
    EXPECT_EQ (editor.getHeight(), 520);

    for (const auto& [child, bounds] : expected)
        EXPECT_EQ (child->getBounds(), bounds) << child->getBounds().toString().toStdString();
}

TEST_F (EditorFixture, stacksTheChildrenWithTheOverlayInFront)
{
    const juce::Component* order[] = { &editor.dialSlider,   &editor.staticSlider, &editor.staticLabel, &editor.signalSlider,
                                       &editor.signalLabel,  &editor.lofiSlider,   &editor.lofiLabel,   &editor.rateSlider,
                                       &editor.rateLabel,    &editor.mixSlider,    &editor.mixLabel,    &editor.autoScanButton,
                                       &editor.radioDisplay, &editor.crtOverlay };

    ASSERT_EQ (editor.getNumChildComponents(), (int) std::size (order));

    for (int i = 0; i < editor.getNumChildComponents(); ++i)
        EXPECT_EQ (editor.getChildComponent (i), order[i]) << i;
}

TEST_F (EditorFixture, aTooSmallEditorGetsNoNegativeSizes)
{
    for (const auto& size : { juce::Point<int> (0, 0), juce::Point<int> (10, 60), juce::Point<int> (700, 100), juce::Point<int> (40, 520) })
    {
        editor.setSize (size.x, size.y);

        for (auto* child : editor.getChildren())
        {
            EXPECT_GE (child->getWidth(), 0);
            EXPECT_GE (child->getHeight(), 0);
        }

        PixelProbe::renderAlone (editor); // paints without trouble at any size
    }
}

TEST_F (EditorFixture, controlsAndParametersMoveTogether)
{
    const std::pair<juce::Slider*, const char*> bindings[] = { { &editor.dialSlider, "dial" },     { &editor.staticSlider, "staticAmt" },
                                                               { &editor.signalSlider, "signal" }, { &editor.lofiSlider, "lofi" },
                                                               { &editor.rateSlider, "scanRate" }, { &editor.mixSlider, "mix" } };

    for (const auto& [slider, id] : bindings)
    {
        SCOPED_TRACE (id);
        EXPECT_FLOAT_EQ ((float) slider->getValue(), raw (id));

        const auto range = processor.parameters.getParameterRange (id);
        slider->setValue (range.start + 0.25 * (range.end - range.start), juce::sendNotificationSync);
        EXPECT_NEAR (raw (id), range.start + 0.25f * (range.end - range.start), range.interval);

        setRaw (id, range.start + 0.75f * (range.end - range.start));
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        EXPECT_NEAR (slider->getValue(), range.start + 0.75 * (range.end - range.start), range.interval);
    }

    editor.autoScanButton.setToggleState (true, juce::sendNotificationSync);
    EXPECT_EQ (raw ("autoScan"), 1.0f);
    setRaw ("autoScan", 0.0f);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_FALSE (editor.autoScanButton.getToggleState());
}

TEST_F (EditorFixture, knobsShowTheirValueWithAPercentSign)
{
    setRaw ("staticAmt", 12.3f);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

    EXPECT_EQ (editor.staticSlider.getTextFromValue (editor.staticSlider.getValue()), "12.3%");
    EXPECT_EQ (editor.mixSlider.getTextFromValue (editor.mixSlider.getValue()), "100.0%");
    EXPECT_EQ (editor.dialSlider.getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (editor.staticLabel.getText(), "STATIC");
    EXPECT_EQ (editor.lofiLabel.getText(), "LO-FI");
    EXPECT_EQ (editor.autoScanButton.getButtonText(), juce::String());
}

TEST_F (EditorFixture, theOverlayNeverTakesAClick)
{
    editor.setVisible (true);
    juce::Component* controls[] = { &editor.dialSlider, &editor.staticSlider, &editor.signalSlider,  &editor.lofiSlider,
                                    &editor.rateSlider, &editor.mixSlider,    &editor.autoScanButton };

    for (auto* control : controls)
    {
        const auto centre = control->getBounds().getCentre();
        auto* hit = editor.getComponentAt (centre);
        ASSERT_NE (hit, nullptr);
        EXPECT_TRUE (hit == control || control->isParentOf (hit)) << control->getBounds().toString().toStdString();
        EXPECT_NE (hit, &editor.crtOverlay);
    }
}

TEST_F (EditorFixture, theTickerScrollsAndRepaintsOnlyItsStrip)
{
    auto expected = 0.0f;

    for (int tick = 1; tick <= 1000; ++tick)
    {
        editor.timerCallback();
        expected += 0.8f;
        ASSERT_EQ (editor.tickerOffset, expected);

        const auto x = ScannerEditor::tickerX (editor.tickerOffset, ScannerEditor::tickerTextWidth());
        ASSERT_LE (x, 0);
        ASSERT_GT ((float) x, -ScannerEditor::tickerTextWidth());
    }

    const auto strip = editor.tickerStrip();
    EXPECT_EQ (strip, juce::Rectangle<int> (0, 492, 700, 28));
    EXPECT_TRUE (strip.contains (juce::Rectangle<int> (0, 496, 700, 20))); // the ticker's box
    EXPECT_TRUE (strip.contains (juce::Rectangle<int> (0, 494, 700, 26))); // the footer bar
    EXPECT_EQ (ScannerEditor::tickerText.length(), 145);
}

TEST_F (EditorFixture, theCachedPanelPaintsExactlyTheSamePixels)
{
    // The panel behind the controls is the one cache that must be bit-exact on its own (the
    // overlay's one-pass layer is held to one unit per channel below).
    for (const auto offset : { 0.0f, 333.3f })
    {
        editor.tickerOffset = offset;
        editor.crtOverlay.sweepPosition = offset;
        editor.radioDisplay.displayStation = 4;
        editor.radioDisplay.displayStrength = 0.9f;

        editor.useBackgroundCache = true;
        const auto cached = PixelProbe::renderAlone (editor);

        editor.useBackgroundCache = false;
        const auto direct = PixelProbe::renderAlone (editor);

        EXPECT_EQ (PixelProbe::countDifferentPixels (cached, direct), 0);
    }
}

namespace
{
    juce::Image renderAtScale (juce::Component& component, float scale)
    {
        juce::Image image (juce::Image::ARGB, (int) scale * component.getWidth(), (int) scale * component.getHeight(), true,
                           juce::SoftwareImageType());
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        component.paintEntireComponent (g, false);
        return image;
    }

    struct ChannelDifference
    {
        int largest = 0, pixels = 0;
    };

    ChannelDifference compare (const juce::Image& a, const juce::Image& b)
    {
        ChannelDifference difference;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
            {
                const auto p = a.getPixelAt (x, y), q = b.getPixelAt (x, y);
                const auto largest = juce::jmax (std::abs (p.getRed() - q.getRed()), std::abs (p.getGreen() - q.getGreen()),
                                                 std::abs (p.getBlue() - q.getBlue()), std::abs (p.getAlpha() - q.getAlpha()));
                difference.largest = juce::jmax (difference.largest, largest);
                difference.pixels += largest > 0 ? 1 : 0;
            }

        return difference;
    }

    /** Two windows side by side, one with every cache and one with none, kept in one state. */
    struct CachedAndDirect : ::testing::TestWithParam<float>
    {
        CachedAndDirect() { direct.setCachesEnabled (false); }

        template <typename Change>
        void change (Change&& apply)
        {
            apply (cached);
            apply (direct);
        }

        void expectWithinOneUnit (const std::string& state)
        {
            const auto scale = GetParam();
            const auto difference = compare (renderAtScale (cached, scale), renderAtScale (direct, scale));
            EXPECT_LE (difference.largest, 1) << state << ": " << difference.pixels << " pixels differ";
            differingPixels += difference.pixels;
        }

        ScannerProcessor cachedProcessor, directProcessor;
        ScannerEditor cached { cachedProcessor }, direct { directProcessor };
        int differingPixels = 0;
    };
} // namespace

INSTANTIATE_TEST_SUITE_P (Editor, CachedAndDirect, ::testing::Values (1.0f, 2.0f),
                          [] (const ::testing::TestParamInfo<float>& row) { return "Scale" + std::to_string ((int) row.param); });

TEST_P (CachedAndDirect, differByAtMostOneUnitPerChannelInEveryState)
{
    expectWithinOneUnit ("as opened");

    for (const auto position : { 0.0f, 0.5f, 1.0f })
    {
        change (
            [position] (ScannerEditor& editor)
            {
                for (auto* knob : { &editor.staticSlider, &editor.signalSlider, &editor.lofiSlider, &editor.rateSlider, &editor.mixSlider })
                    knob->setValue (knob->proportionOfLengthToValue (position));

                editor.dialSlider.setValue (position);
            });
        expectWithinOneUnit ("every knob at " + std::to_string (position));
    }

    for (const auto on : { true, false })
    {
        change ([on] (ScannerEditor& editor) { editor.autoScanButton.setToggleState (on, juce::sendNotificationSync); });
        expectWithinOneUnit (on ? "the switch on" : "the switch off");
    }

    for (const auto step : { 1, 2, 3 })
    {
        change (
            [step] (ScannerEditor& editor)
            {
                editor.radioDisplay.displayDial = 0.1f * (float) step + 0.05f;
                editor.radioDisplay.displayStation = step;
                editor.radioDisplay.displayStrength = 0.3f * (float) step;
                editor.radioDisplay.repaint();
                editor.crtOverlay.sweepPosition = 170.0f * (float) step - 40.0f;
                editor.crtOverlay.flickerLevel = step % 2 == 0 ? 0.85f : 1.15f; // both of the flicker's alpha bytes
                editor.crtOverlay.repaint();
                editor.tickerOffset += 13.0f;
            });
        expectWithinOneUnit ("the needle and the sweep band, step " + std::to_string (step));
    }

    std::cout << "caches at scale " << GetParam() << ": " << differingPixels << " pixels differ over all states\n";
}

TEST (EditorLifetime, opensAndClosesManyTimesWhileAudioRuns)
{
    ScannerProcessor processor;
    processor.prepareToPlay (44100.0, 256);
    BackgroundAudio audio (processor, 256);

    for (int round = 0; round < 25; ++round)
    {
        OwnedEditor editor (processor.createEditorIfNeeded());
        ASSERT_NE (dynamic_cast<ScannerEditor*> (editor.get()), nullptr);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        PixelProbe::renderAlone (*editor);
        editor.reset();
        EXPECT_EQ (processor.getActiveEditor(), nullptr);
    }

    audio.stop();
}
