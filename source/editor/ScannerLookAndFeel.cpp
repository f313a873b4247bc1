#include "editor/ScannerLookAndFeel.h"

#include "editor/ScannerFonts.h"

#include <cmath>

namespace
{
    const juce::Colour purple (0xFFBB44FF);

    void strokeArc (juce::Graphics& g, const juce::Path& arc, juce::Colour colour, float width)
    {
        g.setColour (colour);
        g.strokePath (arc, juce::PathStrokeType (width, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }
} // namespace

void ScannerLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    constexpr float corner = 4.0f;
    const juce::Rectangle<float> box (2.0f, 2.0f, juce::jmax ((float) button.getWidth() - 4.0f, 0.0f),
                                      juce::jmax ((float) button.getHeight() - 4.0f, 0.0f));
    const auto on = button.getToggleState();

    g.setColour (juce::Colour (on ? 0x1F44FF88 : 0xFF08000F));
    g.fillRoundedRectangle (box, corner);

    if (on)
    {
        g.setColour (juce::Colour (0x0F44FF88));
        g.drawRoundedRectangle (box, corner, 6.0f);
        g.setColour (juce::Colour (0x3344FF88));
        g.drawRoundedRectangle (box, corner, 3.0f);
        g.setColour (juce::Colour (0xFF44FF88));
        g.drawRoundedRectangle (box, corner, 1.5f);
    }
    else
    {
        g.setColour (juce::Colour (0x4CBB44FF));
        g.drawRoundedRectangle (box, corner, 1.5f);
    }

    g.setFont (ScannerFonts::monospaced (14.0f, true));
    const juce::String text (on ? "AUTO SCAN://ON" : "AUTO SCAN://OFF");
    g.setColour (juce::Colour (on ? 0xFF44FF88 : 0x80BB44FF));
    g.drawText (text, box, juce::Justification::centred, true);

    if (on)
    {
        g.setColour (juce::Colour (0x1FFFFFFF));
        g.drawText (text, box, juce::Justification::centred, true);
    }
}

void ScannerLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float, float,
                                           juce::Slider::SliderStyle, juce::Slider&)
{
    const auto fx = (float) x, fy = (float) y, fw = (float) width, fh = (float) height;

    // The band: the middle 30 % of the track area.
    const auto d = fh * -0.35f;
    const juce::Rectangle<float> band (fx, fy - d, fw, juce::jmax (d + d + fh, 0.0f));

    g.setColour (juce::Colour (0xFF030008));
    g.fillRoundedRectangle (band, 4.0f);
    g.setColour (juce::Colour (0x0ABB44FF));
    g.drawRoundedRectangle (band, 4.0f, 4.0f);
    g.setColour (juce::Colour (0x33BB44FF));
    g.drawRoundedRectangle (band, 4.0f, 1.0f);

    g.setColour (juce::Colour (0x26BB44FF));
    g.fillRoundedRectangle (fx, band.getY(), sliderPos - fx, band.getHeight(), 4.0f);

    g.setColour (juce::Colour (0x0F00FFEE));
    g.fillRoundedRectangle (sliderPos - 8.0f, fy, 16.0f, fh, 3.0f);
    g.setColour (juce::Colour (0x2600FFEE));
    g.fillRoundedRectangle (sliderPos - 4.0f, fy, 8.0f, fh, 2.0f);
    g.setColour (juce::Colour (0xFF00FFEE));
    g.fillRoundedRectangle (sliderPos - 2.0f, fy + 2.0f, 4.0f, fh - 4.0f, 2.0f);
    g.setColour (juce::Colour (0x66EEDDFF));
    g.fillRoundedRectangle (sliderPos - 1.0f, fy + 4.0f, 2.0f, fh - 8.0f, 1.0f);

    juce::Path pointer;
    pointer.addTriangle (sliderPos - 6.0f, fy, sliderPos + 6.0f, fy, sliderPos, fy + 8.0f);
    g.setColour (juce::Colour (0xFF00FFEE));
    g.fillPath (pointer);
}

void ScannerLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&)
{
    const auto areaWidth = (float) juce::jmax (width - 16, 0);
    const auto areaHeight = (float) juce::jmax (height - 16, 0);
    const auto radius = 0.5f * juce::jmin (areaWidth, areaHeight);
    const auto cx = (float) x + 8.0f + 0.5f * areaWidth;
    const auto cy = (float) y + 8.0f + 0.5f * areaHeight;
    const auto angle = (rotaryEndAngle - rotaryStartAngle) * sliderPosProportional + rotaryStartAngle;

    // The halo: the outermost ring is the strongest.
    for (int i = 4; i >= 1; --i)
    {
        const auto ringRadius = radius + 2.0f * (float) i;
        g.setColour (purple.withAlpha ((float) i * 0.02f));
        g.drawEllipse (cx - ringRadius, cy - ringRadius, 2.0f * ringRadius, 2.0f * ringRadius, 2.0f);
    }

    g.setColour (juce::Colour (0xFF030008));
    g.fillEllipse (cx - radius, cy - radius, 2.0f * radius, 2.0f * radius);

    juce::Path track;
    track.addCentredArc (cx, cy, radius, radius, 0.0f, rotaryStartAngle, rotaryEndAngle, true);
    strokeArc (g, track, juce::Colour (0x14BB44FF), 2.5f);

    juce::Path value;
    value.addCentredArc (cx, cy, radius, radius, 0.0f, rotaryStartAngle, angle, true);
    strokeArc (g, value, juce::Colour (0x0ABB44FF), 14.0f);
    strokeArc (g, value, juce::Colour (0x1ABB44FF), 6.0f);
    strokeArc (g, value, juce::Colour (0xFFBB44FF), 2.5f);
    strokeArc (g, value, juce::Colour (0x33EEDDFF), 0.8f);

    const auto needle = 0.7f * radius;
    const auto tipX = cx + needle * std::sin (angle);
    const auto tipY = cy - needle * std::cos (angle);
    g.setColour (juce::Colour (0x1F00FFEE));
    g.drawLine (cx, cy, tipX, tipY, 5.0f);
    g.setColour (juce::Colour (0xFF00FFEE));
    g.drawLine (cx, cy, tipX, tipY, 2.0f);

    g.setColour (purple);
    g.fillEllipse (cx - 3.0f, cy - 3.0f, 6.0f, 6.0f);
}
