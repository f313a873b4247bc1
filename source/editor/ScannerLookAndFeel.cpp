#include "editor/ScannerLookAndFeel.h"
#include "editor/ScannerPalette.h"

#include "editor/ScannerFonts.h"

#include <cmath>

namespace
{
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

    g.setColour ((on ? ScannerPalette::green (0x1F) : ScannerPalette::switchOff()));
    g.fillRoundedRectangle (box, corner);

    if (on)
    {
        g.setColour (ScannerPalette::green (0x0F));
        g.drawRoundedRectangle (box, corner, 6.0f);
        g.setColour (ScannerPalette::green (0x33));
        g.drawRoundedRectangle (box, corner, 3.0f);
        g.setColour (ScannerPalette::green());
        g.drawRoundedRectangle (box, corner, 1.5f);
    }
    else
    {
        g.setColour (ScannerPalette::purple (0x4C));
        g.drawRoundedRectangle (box, corner, 1.5f);
    }

    g.setFont (ScannerFonts::monospaced (14.0f, true));
    const juce::String text (on ? "AUTO SCAN://ON" : "AUTO SCAN://OFF");
    g.setColour ((on ? ScannerPalette::green() : ScannerPalette::purple (0x80)));
    g.drawText (text, box, juce::Justification::centred, true);

    if (on)
    {
        g.setColour (ScannerPalette::white (0x1F));
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

    g.setColour (ScannerPalette::body());
    g.fillRoundedRectangle (band, 4.0f);
    g.setColour (ScannerPalette::purple (0x0A));
    g.drawRoundedRectangle (band, 4.0f, 4.0f);
    g.setColour (ScannerPalette::purple (0x33));
    g.drawRoundedRectangle (band, 4.0f, 1.0f);

    g.setColour (ScannerPalette::purple (0x26));
    g.fillRoundedRectangle (fx, band.getY(), sliderPos - fx, band.getHeight(), 4.0f);

    g.setColour (ScannerPalette::cyan (0x0F));
    g.fillRoundedRectangle (sliderPos - 8.0f, fy, 16.0f, fh, 3.0f);
    g.setColour (ScannerPalette::cyan (0x26));
    g.fillRoundedRectangle (sliderPos - 4.0f, fy, 8.0f, fh, 2.0f);
    g.setColour (ScannerPalette::cyan());
    g.fillRoundedRectangle (sliderPos - 2.0f, fy + 2.0f, 4.0f, fh - 4.0f, 2.0f);
    g.setColour (ScannerPalette::lavender (0x66));
    g.fillRoundedRectangle (sliderPos - 1.0f, fy + 4.0f, 2.0f, fh - 8.0f, 1.0f);

    juce::Path pointer;
    pointer.addTriangle (sliderPos - 6.0f, fy, sliderPos + 6.0f, fy, sliderPos, fy + 8.0f);
    g.setColour (ScannerPalette::cyan());
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
        g.setColour (ScannerPalette::purple().withAlpha ((float) i * 0.02f));
        g.drawEllipse (cx - ringRadius, cy - ringRadius, 2.0f * ringRadius, 2.0f * ringRadius, 2.0f);
    }

    g.setColour (ScannerPalette::body());
    g.fillEllipse (cx - radius, cy - radius, 2.0f * radius, 2.0f * radius);

    juce::Path track;
    track.addCentredArc (cx, cy, radius, radius, 0.0f, rotaryStartAngle, rotaryEndAngle, true);
    strokeArc (g, track, ScannerPalette::purple (0x14), 2.5f);

    juce::Path value;
    value.addCentredArc (cx, cy, radius, radius, 0.0f, rotaryStartAngle, angle, true);
    strokeArc (g, value, ScannerPalette::purple (0x0A), 14.0f);
    strokeArc (g, value, ScannerPalette::purple (0x1A), 6.0f);
    strokeArc (g, value, ScannerPalette::purple(), 2.5f);
    strokeArc (g, value, ScannerPalette::lavender (0x33), 0.8f);

    const auto needle = 0.7f * radius;
    const auto tipX = cx + needle * std::sin (angle);
    const auto tipY = cy - needle * std::cos (angle);
    g.setColour (ScannerPalette::cyan (0x1F));
    g.drawLine (cx, cy, tipX, tipY, 5.0f);
    g.setColour (ScannerPalette::cyan());
    g.drawLine (cx, cy, tipX, tipY, 2.0f);

    g.setColour (ScannerPalette::purple());
    g.fillEllipse (cx - 3.0f, cy - 3.0f, 6.0f, 6.0f);
}
