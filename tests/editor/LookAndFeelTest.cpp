#include "PixelProbe.h"
#include "editor/CRTOverlay.h"
#include "editor/ScannerEditor.h"
#include "editor/ScannerLookAndFeel.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
    juce::Image drawn (int width, int height, std::function<void (juce::Graphics&)> paint)
    {
        juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
        juce::Graphics g (image);
        paint (g);
        return image;
    }
} // namespace

TEST (LookAndFeel, theKnobsNeedleIsCyanAndItsHubPurple)
{
    ScannerLookAndFeel lnf;
    juce::Slider slider;
    const auto image = drawn (100, 100, [&] (juce::Graphics& g) { lnf.drawRotarySlider (g, 0, 0, 100, 100, 0.5f, -2.5f, 2.5f, slider); });

    EXPECT_EQ (PixelProbe::argbAt (image, 49, 30), 0xFF00FFEEu); // straight up at the middle position
    EXPECT_EQ (PixelProbe::argbAt (image, 50, 50), 0xFFBB44FFu); // the hub
    EXPECT_EQ (PixelProbe::argbAt (image, 30, 75), 0xFF030008u); // the body, off the needle's path
}

TEST (LookAndFeel, theTuningThumbAndPointer)
{
    ScannerLookAndFeel lnf;
    juce::Slider slider;
    const auto image = drawn (300, 36,
                              [&] (juce::Graphics& g)
                              { lnf.drawLinearSlider (g, 0, 0, 300, 36, 150.0f, 0.0f, 300.0f, juce::Slider::LinearHorizontal, slider); });

    EXPECT_EQ (PixelProbe::argbAt (image, 148, 18), 0xFF00FFEEu); // thumb beside its highlight
    EXPECT_EQ (PixelProbe::argbAt (image, 150, 2), 0xFF00FFEEu);  // the pointer under the top edge
    EXPECT_EQ (PixelProbe::argbAt (image, 250, 18), 0xFF030008u); // the empty band to the right of the thumb
}

TEST (LookAndFeel, theToggleReadsOnAndOff)
{
    ScannerLookAndFeel lnf;
    juce::ToggleButton button;
    button.setSize (200, 36);

    const auto off = drawn (200, 36, [&] (juce::Graphics& g) { lnf.drawToggleButton (g, button, false, false); });
    EXPECT_EQ (PixelProbe::argbAt (off, 8, 8), 0xFF08000Fu);

    button.setToggleState (true, juce::dontSendNotification);
    const auto on = drawn (200, 36, [&] (juce::Graphics& g) { lnf.drawToggleButton (g, button, true, true); });
    EXPECT_EQ (PixelProbe::argbAt (on, 8, 8), PixelProbe::blendedPixel ({ 0x1F44FF88 }));

    // The text of each state lights some pixels in its colour family.
    int greenText = 0;

    for (int x = 20; x < 180; ++x)
        greenText += on.getPixelAt (x, 18).getGreen() > 0xC0 ? 1 : 0;

    EXPECT_GT (greenText, 5);
}

TEST (CRTOverlayLook, scanLinesDarkenEveryThirdRowAndTheCornersDarkest)
{
    CRTOverlay overlay;
    overlay.setSize (700, 520);
    overlay.sweepPosition = 400.0f; // the band well away from the probed rows
    const auto image = PixelProbe::renderAlone (overlay, 0xFF808080);

    const auto lined = image.getPixelAt (350, 201).getRed(), plain = image.getPixelAt (350, 202).getRed();
    EXPECT_GE (plain - lined, 12);
    EXPECT_LE (plain - lined, 18);
    EXPECT_EQ (image.getPixelAt (350, 200).getRed(), plain);
    EXPECT_LT (image.getPixelAt (1, 1).getRed(), 0x50);
    EXPECT_EQ (overlay.getNumChildComponents(), 0);
    bool clicks = true, childClicks = true;
    overlay.getInterceptsMouseClicks (clicks, childClicks);
    EXPECT_FALSE (clicks);
    EXPECT_FALSE (childClicks);
}

TEST (CRTOverlayLook, ticksMoveTheBandAndDrawFlicker)
{
    CRTOverlay overlay;
    overlay.setSize (700, 520);
    EXPECT_EQ (overlay.sweepPosition, 0.0f);
    EXPECT_EQ (overlay.flickerLevel, 1.0f);

    int ticks = 0;
    overlay.sweepPosition = -40.0f;

    do
    {
        overlay.timerCallback();
        ++ticks;
        ASSERT_GE (overlay.flickerLevel, 0.8f);
        ASSERT_LT (overlay.flickerLevel, 1.2f);
    } while (! std::equal_to<float>() (overlay.sweepPosition, -40.0f));

    EXPECT_EQ (ticks, 361); // -38 ... 680, then back to -40
}

TEST (EditorLook, theHeaderRuleOverTheGlow)
{
    ScannerProcessor processor;
    ScannerEditor editor (processor);
    editor.crtOverlay.setVisible (false);
    const auto image = PixelProbe::renderAlone (editor);

    EXPECT_EQ (PixelProbe::argbAt (image, 10, 52), PixelProbe::blendedPixel ({ 0xFF030008, 0x0FBB44FF, 0x99BB44FF }));
    EXPECT_EQ (PixelProbe::argbAt (image, 10, 30), PixelProbe::blendedPixel ({ 0xFF030008, 0xEE000005 }));
    EXPECT_EQ (PixelProbe::argbAt (image, 32, 500),
               PixelProbe::blendedPixel ({ 0xFF030008, 0xFF0A0515, 0xEE000005 })); // grid under the footer bar
}
