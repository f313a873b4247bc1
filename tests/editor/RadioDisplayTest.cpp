#include "editor/RadioDisplay.h"
#include "PixelProbe.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

namespace
{
    struct DisplayFixture : ::testing::Test
    {
        DisplayFixture() { display.setSize (668, 159); }

        void show (int station, float strength, float dial = 0.5f)
        {
            display.displayStation = station;
            display.displayStrength = strength;
            display.displayDial = dial;
            display.glitchNoise = 0.0f;
        }

        ScannerProcessor processor;
        RadioDisplay display { processor };
        const RadioDisplay::Geometry geo = RadioDisplay::geometryFor (668.0f, 159.0f);
    };
} // namespace

TEST_F (DisplayFixture, startsCentredAndEasesTheNeedleTowardsTheDial)
{
    EXPECT_EQ (display.displayDial, 0.5f);
    EXPECT_EQ (display.displayStation, -1);
    EXPECT_EQ (display.displayStrength, 0.0f);

    processor.currentDial = 1.0f;
    processor.currentStation = 5;
    processor.signalStrength = 0.25f;
    auto expected = 0.5f;

    for (int tick = 1; tick <= 29; ++tick)
    {
        display.timerCallback();
        expected = expected + (1.0f - expected) * 0.15f;
        ASSERT_EQ (display.displayDial, expected) << tick;
    }

    EXPECT_LT (1.0f - display.displayDial, 0.01f * 0.5f); // within 1 % of the jump after 29 ticks
    EXPECT_EQ (display.displayStation, 5);
    EXPECT_EQ (display.displayStrength, 0.25f);
    EXPECT_GE (display.glitchNoise, 0.0f);
    EXPECT_LT (display.glitchNoise, 1.0f);
}

TEST (RadioDisplayArithmetic, readoutsBarsAndNames)
{
    const std::pair<float, const char*> frequencies[] = { { 0.5f, "99.0" }, { 0.0f, "88.0" }, { 1.0f, "110.0" }, { 0.4f, "96.8" } };

    for (const auto& [dial, text] : frequencies)
        EXPECT_EQ (RadioDisplay::frequencyText (dial), text);

    const std::pair<float, int> bars[] = {
        { 0.0f, 0 }, { 0.1f, 0 }, { 0.124f, 0 }, { 0.125f, 1 }, { 0.5f, 4 }, { 0.857f, 6 }, { 1.0f, 8 }
    };

    for (const auto& [strength, lit] : bars)
        EXPECT_EQ (RadioDisplay::litBars (strength), lit) << strength;

    EXPECT_EQ (RadioDisplay::shownName (2, 0.1f), "[ SCANNING... ]");
    EXPECT_EQ (RadioDisplay::shownName (2, 0.11f), "SWEDISH");
    EXPECT_EQ (RadioDisplay::shownName (-1, 1.0f), "[ SCANNING... ]");
    EXPECT_EQ (RadioDisplay::shownName (5, 1.0f), "MILITARY");
}

TEST_F (DisplayFixture, geometryAtTheEditorsSize)
{
    EXPECT_EQ (geo.contentWidth, 644.0f);
    EXPECT_EQ (geo.contentHeight, 143.0f);
    EXPECT_EQ (geo.scaleHeight, 71.5f);
    EXPECT_EQ (geo.scaleBottom, 79.5f);
    EXPECT_EQ (geo.readoutTop, 85.5f);
    EXPECT_EQ (geo.readoutHeight, 65.5f);
    EXPECT_EQ (geo.xOfDial (0.0f), 12.0f);
    EXPECT_EQ (geo.xOfDial (1.0f), 656.0f);
    EXPECT_EQ (geo.barWidth, 8.0f);
    EXPECT_EQ (geo.barStep, 12.0f);
    EXPECT_EQ (geo.meterTotal, 92.0f);
    EXPECT_EQ ((geo.readoutHeight - 16.0f) * 1.0f, 49.5f);
}

TEST_F (DisplayFixture, meterBarsLightInTheirColours)
{
    const auto barPixel = [this] (const juce::Image& image, int bar)
    {
        const auto bx = (float) bar * geo.barStep + geo.meterStart;
        return PixelProbe::argbAt (image, (int) (bx + 4.0f), (int) (geo.readoutTop + geo.readoutHeight - 3.0f));
    };

    show (2, 0.5f);
    const auto half = PixelProbe::renderAlone (display);
    EXPECT_EQ (barPixel (half, 0), 0xFFBB44FFu);
    EXPECT_EQ (barPixel (half, 3), 0xFFBB44FFu);
    EXPECT_EQ (barPixel (half, 4), PixelProbe::blendedPixel ({ 0xFF010005, 0x0F44FF88 }));
    EXPECT_EQ (barPixel (half, 7), PixelProbe::blendedPixel ({ 0xFF010005, 0x0FFF2090 }));

    show (2, 1.0f);
    const auto full = PixelProbe::renderAlone (display);
    EXPECT_EQ (barPixel (full, 4), 0xFF44FF88u);
    EXPECT_EQ (barPixel (full, 5), 0xFF44FF88u);
    EXPECT_EQ (barPixel (full, 6), 0xFFFF2090u);
    EXPECT_EQ (barPixel (full, 7), 0xFFFF2090u);
}

TEST_F (DisplayFixture, stationDotsAndNeedle)
{
    show (2, 1.0f, 0.5f);
    const auto image = PixelProbe::renderAlone (display);
    const auto dotY = (int) (geo.scaleBottom - 14.0f);

    // The received station's dot is solid green around its white highlight.
    const auto received = geo.xOfDial (stationTable[2].position);
    EXPECT_EQ (PixelProbe::argbAt (image, (int) received + 3, dotY), 0xFF44FF88u);

    // Another station's dot: the faint purple marker over its halo over the panel.
    const auto other = geo.xOfDial (stationTable[0].position);
    EXPECT_EQ (PixelProbe::argbAt (image, (int) other + 3, dotY), PixelProbe::blendedPixel ({ 0xFF010005, 0x33BB44FF, 0x4CBB44FF }));

    // The needle's core is cyan; its outer glow is the faintest cyan over the panel.
    const auto needle = image.getPixelAt ((int) geo.xOfDial (0.5f) - 1, 40);
    EXPECT_LT (needle.getRed(), 0x80);
    EXPECT_GT (needle.getGreen(), 0xE0);
    EXPECT_GT (needle.getBlue(), 0xD0);
    EXPECT_EQ (PixelProbe::argbAt (image, (int) geo.xOfDial (0.5f) - 8, 40), PixelProbe::blendedPixel ({ 0xFF010005, 0x0A00FFEE }));
}
