#include "editor/RadioDisplay.h"
#include "editor/ScannerPalette.h"

#include "editor/ScannerFonts.h"
#include "processor/ScannerProcessor.h"

namespace
{
    // A station counts as received above this strength.
    constexpr float receivedStrength = 0.1f;
    // Weak stations break up below this strength.
    constexpr float breakUpBelow = 0.6f;
    constexpr int numBars = 8;

    float barLevel (int bar) noexcept
    {
        return (float) (bar + 1) * 0.125f;
    }

    void drawCentred (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area)
    {
        g.drawText (text, area, juce::Justification::centred, true);
    }
} // namespace

RadioDisplay::RadioDisplay (ScannerProcessor& processorToFollow) : processor (processorToFollow)
{
    startTimer (41);
}

void RadioDisplay::timerCallback()
{
    displayDial = displayDial + (processor.currentDial.load() - displayDial) * 0.15f;
    displayStrength = processor.signalStrength.load();
    displayStation = processor.currentStation.load();
    glitchNoise = glitchRandom.nextFloat();
    repaint();
}

RadioDisplay::Geometry RadioDisplay::geometryFor (float w, float h) noexcept
{
    Geometry geo;
    geo.contentWidth = juce::jmax (w - 24.0f, 0.0f);
    geo.contentHeight = juce::jmax (h - 16.0f, 0.0f);
    geo.scaleHeight = juce::jmin (0.5f * geo.contentHeight, geo.contentHeight);
    geo.scaleBottom = 8.0f + geo.scaleHeight;

    const auto gap = juce::jmin (geo.contentHeight - geo.scaleHeight, 6.0f);
    geo.readoutTop = geo.scaleBottom + gap;
    geo.readoutHeight = geo.contentHeight - geo.scaleHeight - gap;

    geo.frequencyWidth = juce::jmin (geo.contentWidth, 0.35f * geo.contentWidth);
    geo.nameLeft = 12.0f + geo.frequencyWidth;
    geo.nameWidth = juce::jmin (geo.contentWidth - geo.frequencyWidth, 0.45f * (geo.contentWidth - geo.frequencyWidth));
    geo.meterLeft = geo.nameLeft + geo.nameWidth;
    geo.meterWidth = geo.contentWidth - geo.frequencyWidth - geo.nameWidth;

    geo.barWidth = juce::jmin (geo.meterWidth / 12.0f, 8.0f);
    geo.barStep = 1.5f * geo.barWidth;
    geo.meterTotal = 8.0f * geo.barStep - 0.5f * geo.barWidth;
    geo.meterStart = 0.5f * geo.meterWidth + geo.meterLeft - 0.5f * geo.meterTotal;
    return geo;
}

juce::String RadioDisplay::frequencyText (float dial)
{
    return juce::String (22.0f * dial + 88.0f, 1);
}

bool RadioDisplay::isReceived (int station, float strength) noexcept
{
    return station >= 0 && station < numStations && strength > receivedStrength;
}

int RadioDisplay::litBars (float strength) noexcept
{
    int lit = 0;

    for (int bar = 0; bar < numBars; ++bar)
        lit += strength >= barLevel (bar) ? 1 : 0;

    return lit;
}

juce::String RadioDisplay::shownName (int station, float strength)
{
    return isReceived (station, strength) ? stationTable[(size_t) station].name : juce::String ("[ SCANNING... ]");
}

void RadioDisplay::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth(), h = (float) getHeight();
    const auto geo = geometryFor (w, h);

    // The panel and the scale's marks depend on the size alone; the rest moves.
    if (useStaticLayerCache && LayerCache::canDrawInto (g))
    {
        staticLayer.draw (g, getLocalBounds(), paintBackdrop,
                          [this, w, h, geo] (juce::Graphics& layer)
                          {
                              paintPanel (layer, w, h);
                              paintScaleMarks (layer, geo);
                          });
    }
    else
    {
        paintPanel (g, w, h);
        paintScaleMarks (g, geo);
    }

    paintStationsAndNeedle (g, geo);
    paintFrequency (g, geo);
    paintStationName (g, geo);
    paintMeter (g, geo);
}

void RadioDisplay::paintPanel (juce::Graphics& g, float w, float h)
{
    const juce::Rectangle<float> panel (0.0f, 0.0f, w, h);
    g.setColour (ScannerPalette::screen());
    g.fillRoundedRectangle (panel, 6.0f);
    g.setColour (ScannerPalette::purple (0x0A));
    g.drawRoundedRectangle (panel, 6.0f, 5.0f);
    g.setColour (ScannerPalette::purple (0x1F));
    g.drawRoundedRectangle (panel, 6.0f, 2.0f);
    g.setColour (ScannerPalette::purple (0x59));
    g.drawRoundedRectangle ({ 0.5f, 0.5f, juce::jmax (w - 1.0f, 0.0f), juce::jmax (h - 1.0f, 0.0f) }, 6.0f, 1.0f);
}

void RadioDisplay::paintScaleMarks (juce::Graphics& g, const Geometry& geo)
{
    const auto yb = geo.scaleBottom;
    g.setFont (ScannerFonts::monospaced (10.0f, false));

    for (int mhz = 88; mhz <= 110; mhz += 2)
    {
        const auto x = (float) (mhz - 88) / 22.0f * geo.contentWidth + 12.0f;
        g.setColour (ScannerPalette::deepPurple (0x66));
        g.drawVerticalLine ((int) x, 22.0f, yb);
        g.setColour (ScannerPalette::purple (0x80));
        drawCentred (g, juce::String (mhz), { (float) (int) (x - 15.0f), 8.0f, 30.0f, 14.0f });
    }

    g.setColour (ScannerPalette::deepPurple (0x26));

    for (int j = 0; j <= 22; ++j)
        g.drawVerticalLine ((int) ((float) j / 22.0f * geo.contentWidth + 12.0f), yb - 8.0f, yb);
}

void RadioDisplay::paintStationsAndNeedle (juce::Graphics& g, const Geometry& geo)
{
    const auto yb = geo.scaleBottom;

    for (int k = 0; k < numStations; ++k)
    {
        const auto x = geo.contentWidth * stationTable[(size_t) k].position + 12.0f;
        const auto received = k == displayStation && displayStrength > receivedStrength;

        if (received)
        {
            g.setColour (ScannerPalette::green().withAlpha (displayStrength * 0.08f));
            g.fillRect (juce::Rectangle<float> (x - 15.0f, 22.0f, 30.0f, geo.scaleHeight - 14.0f));
        }

        const auto marker = received ? ScannerPalette::green() : ScannerPalette::purple (0x4C);
        g.setColour (marker.withAlpha ((juce::uint8) 0x33));
        g.fillEllipse (x - 6.0f, yb - 20.0f, 12.0f, 12.0f);
        g.setColour (marker);
        g.fillEllipse (x - 4.0f, yb - 18.0f, 8.0f, 8.0f);

        if (received)
        {
            g.setColour (ScannerPalette::white (0x4C));
            g.fillEllipse (x - 2.0f, yb - 16.0f, 4.0f, 4.0f);
        }
    }

    const auto nx = geo.contentWidth * displayDial + 12.0f;
    const auto needleHeight = geo.scaleHeight - 14.0f;
    const std::pair<float, juce::Colour> needleLayers[] = {
        { 10.0f, ScannerPalette::cyan (0x0A) },
        { 3.0f, ScannerPalette::cyan (0x1A) },
        { 1.0f, ScannerPalette::cyan() },
        { 0.5f, ScannerPalette::lavender (0x66) },
    };

    for (const auto& [halfWidth, colour] : needleLayers)
    {
        g.setColour (colour);
        g.fillRect (juce::Rectangle<float> (nx - halfWidth, 22.0f, 2.0f * halfWidth, needleHeight));
    }
}

void RadioDisplay::paintFrequency (juce::Graphics& g, const Geometry& geo)
{
    const auto text = frequencyText (displayDial);
    const juce::Rectangle<float> box (12.0f, geo.readoutTop, geo.frequencyWidth, geo.readoutHeight);

    g.setFont (ScannerFonts::monospaced (32.0f, true));
    g.setColour (ScannerPalette::green (0x0F));

    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            drawCentred (g, text, box.translated ((float) dx, (float) dy));

    g.setColour (ScannerPalette::green (0xCC));
    drawCentred (g, text, box);
    g.setColour (ScannerPalette::white (0x26));
    drawCentred (g, text, box);

    g.setFont (ScannerFonts::monospaced (11.0f, false));
    g.setColour (ScannerPalette::green (0x66));
    drawCentred (g, "FM MHz", box.translated (0.0f, 24.0f));
}

void RadioDisplay::paintStationName (juce::Graphics& g, const Geometry& geo)
{
    const juce::Rectangle<float> box (geo.nameLeft, geo.readoutTop, geo.nameWidth, geo.readoutHeight);

    if (! isReceived (displayStation, displayStrength))
    {
        g.setFont (ScannerFonts::monospaced (14.0f, false));
        g.setColour (ScannerPalette::purple (0x40));
        drawCentred (g, "[ SCANNING... ]", box);
        return;
    }

    const auto name = stationTable[(size_t) displayStation].name;
    g.setFont (ScannerFonts::monospaced (18.0f, true));
    g.setColour (ScannerPalette::purple (0x14));
    drawCentred (g, name, box.translated (-1.0f, -1.0f));
    drawCentred (g, name, box.translated (1.0f, 1.0f));
    g.setColour (ScannerPalette::purple());
    drawCentred (g, name, box);

    if (displayStrength < breakUpBelow && glitchNoise > 0.5f)
    {
        g.setColour (ScannerPalette::body (0x80));
        const auto r = glitchRandom.nextFloat();
        g.fillRect ((int) geo.nameLeft, (int) (r * geo.readoutHeight + geo.readoutTop), (int) geo.nameWidth, 2);
    }
}

void RadioDisplay::paintMeter (juce::Graphics& g, const Geometry& geo)
{
    g.setFont (ScannerFonts::monospaced (9.0f, false));
    g.setColour (ScannerPalette::cyan (0x80));
    drawCentred (g, "SIGNAL", { (float) (int) geo.meterStart, (float) (int) geo.readoutTop, (float) (int) geo.meterTotal, 12.0f });

    const auto lit = litBars (displayStrength);

    for (int bar = 0; bar < numBars; ++bar)
    {
        const auto level = barLevel (bar);
        const auto bx = (float) bar * geo.barStep + geo.meterStart;
        const auto bh = (geo.readoutHeight - 16.0f) * level;
        const auto by = geo.readoutTop + geo.readoutHeight - bh;
        const auto colour = level > 0.85f ? ScannerPalette::pink() : level > 0.6f ? ScannerPalette::green() : ScannerPalette::purple();

        if (bar < lit)
        {
            g.setColour (colour.withAlpha ((juce::uint8) 0x26));
            g.fillRoundedRectangle (bx - 1.0f, by - 1.0f, geo.barWidth + 2.0f, bh + 2.0f, 1.0f);
            g.setColour (colour);
            g.fillRoundedRectangle (bx, by, geo.barWidth, bh, 1.0f);
        }
        else
        {
            g.setColour (colour.withAlpha ((juce::uint8) 0x0F));
            g.fillRoundedRectangle (bx, by, geo.barWidth, bh, 1.0f);
        }
    }
}
