#include "editor/CRTOverlay.h"
#include "editor/ScannerPalette.h"

#include <cmath>
#include <functional>

CRTOverlay::CRTOverlay()
{
    setInterceptsMouseClicks (false, false);
    startTimer (33);
}

void CRTOverlay::timerCallback()
{
    sweepPosition += 2.0f;

    // The band leaves the bottom with room to spare, then starts again just above the top.
    if (sweepPosition > (float) getHeight() + 160.0f)
        sweepPosition = -40.0f;

    flickerLevel = rng.nextFloat() * 0.4f + 0.8f;
    repaint();
}

void CRTOverlay::paint (juce::Graphics& g)
{
    const auto area = getLocalBounds();

    paintScanLines (g, area.getWidth(), area.getHeight());
    paintSweepBand (g, (float) area.getWidth(), (float) area.getHeight());
    paintFlicker (g, area);

    if (useGradientCache && ! g.isVectorDevice())
    {
        refreshGradientCaches (g.getInternalContext().getPhysicalPixelScaleFactor());
        centreGlowCache.draw (g);
        vignetteCache.draw (g);
    }
    else
    {
        paintCentreGlow (g, area);
        paintVignette (g, area);
    }
}

void CRTOverlay::resized()
{
    centreGlowCache = {};
    vignetteCache = {};
}

void CRTOverlay::refreshGradientCaches (float scale)
{
    if (centreGlowCache.isValid() && centreGlowCache.getBounds() == getLocalBounds()
        && std::equal_to<float>() (centreGlowCache.getScale(), scale))
        return;

    centreGlowCache = renderLayer (getLocalBounds(), scale, paintCentreGlow);
    vignetteCache = renderLayer (getLocalBounds(), scale, paintVignette);
}

SparseLayer CRTOverlay::renderLayer (juce::Rectangle<int> area, float scale, void (*paintLayer) (juce::Graphics&, juce::Rectangle<int>))
{
    if (area.isEmpty())
        return {};

    // Filling a cleared image stores the gradient's own premultiplied pixels, which then
    // blend onto the screen exactly as the gradient fill would.
    juce::Image layer (juce::Image::ARGB, (int) std::ceil ((float) area.getWidth() * scale),
                       (int) std::ceil ((float) area.getHeight() * scale), true, juce::SoftwareImageType());
    juce::Graphics g (layer);
    g.addTransform (juce::AffineTransform::scale (scale));
    paintLayer (g, area);
    return SparseLayer (layer, scale);
}

void CRTOverlay::paintScanLines (juce::Graphics& g, int width, int height)
{
    for (int y = 0; y < height; y += 3)
    {
        g.setColour (ScannerPalette::black (0x1F));
        g.fillRect (0, y, width, 1);
    }
}

void CRTOverlay::paintSweepBand (juce::Graphics& g, float width, float height)
{
    const auto m = std::fmod (sweepPosition, height + 120.0f);
    const auto c = m - 40.0f;

    juce::ColourGradient band (ScannerPalette::white (0x00), 0.0f, c - 20.0f, ScannerPalette::white (0x00), 0.0f, c + 100.0f, false);
    band.addColour (0.4, ScannerPalette::deepPurple (0x03));
    band.addColour (0.5, ScannerPalette::white (0x06));
    band.addColour (0.6, ScannerPalette::deepPurple (0x03));
    g.setGradientFill (band);
    g.fillRect (juce::Rectangle<float> (0.0f, c - 20.0f, width, 120.0f));
}

void CRTOverlay::paintFlicker (juce::Graphics& g, juce::Rectangle<int> area)
{
    g.setColour (ScannerPalette::white().withAlpha (flickerLevel * 0.006f));
    g.fillRect (area);
}

void CRTOverlay::paintCentreGlow (juce::Graphics& g, juce::Rectangle<int> area)
{
    const auto centre = area.toFloat().getCentre();
    g.setGradientFill (
        juce::ColourGradient (ScannerPalette::deepPurple (0x04), centre.x, centre.y, ScannerPalette::deepPurple (0x00), 0.0f, 0.0f, true));
    g.fillRect (area);
}

void CRTOverlay::paintVignette (juce::Graphics& g, juce::Rectangle<int> area)
{
    const auto centre = area.toFloat().getCentre();
    juce::ColourGradient vignette (ScannerPalette::black (0x00), centre.x, centre.y, ScannerPalette::black (0x80), 0.0f, 0.0f, true);
    vignette.addColour (0.65, ScannerPalette::black (0x00));
    vignette.addColour (0.9, ScannerPalette::black (0x33));
    g.setGradientFill (vignette);
    g.fillRect (area);
}
