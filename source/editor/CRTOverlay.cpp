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

    if (canUseCache (g))
    {
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
    centreGlowCache = renderLayer (getLocalBounds(), paintCentreGlow);
    vignetteCache = renderLayer (getLocalBounds(), paintVignette);
}

SparseLayer CRTOverlay::renderLayer (juce::Rectangle<int> area, void (*paintLayer) (juce::Graphics&, juce::Rectangle<int>))
{
    if (area.isEmpty())
        return {};

    // Filling a cleared image stores the gradient's own premultiplied pixels, which then
    // blend onto the screen exactly as the gradient fill would.
    juce::Image layer (juce::Image::ARGB, area.getWidth(), area.getHeight(), true, juce::SoftwareImageType());
    juce::Graphics g (layer);
    paintLayer (g, area);
    return SparseLayer (layer);
}

bool CRTOverlay::canUseCache (juce::Graphics& g) const
{
    return useGradientCache && centreGlowCache.isValid() && centreGlowCache.getBounds() == getLocalBounds() && ! g.isVectorDevice()
           && std::equal_to<float>() (g.getInternalContext().getPhysicalPixelScaleFactor(), 1.0f);
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
