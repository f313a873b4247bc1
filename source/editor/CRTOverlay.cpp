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

    if (useGradientCache && ! g.isVectorDevice())
    {
        finishingLayerFor (flickerColour(), g.getInternalContext().getPhysicalPixelScaleFactor()).draw (g);
    }
    else
    {
        paintFlicker (g, area);
        paintCentreGlow (g, area);
        paintVignette (g, area);
    }
}

void CRTOverlay::resized()
{
    finishingLayers.clear();
}

juce::Colour CRTOverlay::flickerColour() const
{
    return ScannerPalette::white().withAlpha (flickerLevel * 0.006f);
}

const SparseLayer& CRTOverlay::finishingLayerFor (juce::Colour flicker, float scale)
{
    // The flicker, the centre glow and the vignette, blended one over the other once into a
    // layer of their own, which the frame then blends in one pass. The flicker's colour takes
    // only a couple of alpha bytes (1 and 2), so a layer is kept for each one met.
    for (const auto& [colour, layer] : finishingLayers)
        if (colour == flicker && layer.getBounds() == getLocalBounds() && std::equal_to<float>() (layer.getScale(), scale))
            return layer;

    if (finishingLayers.size() >= 4)
        finishingLayers.erase (finishingLayers.begin());

    const auto area = getLocalBounds();
    finishingLayers.emplace_back (flicker, renderLayer (area, scale,
                                                        [flicker, area] (juce::Graphics& g)
                                                        {
                                                            g.setColour (flicker);
                                                            g.fillRect (area);
                                                            paintCentreGlow (g, area);
                                                            paintVignette (g, area);
                                                        }));
    return finishingLayers.back().second;
}

SparseLayer CRTOverlay::renderLayer (juce::Rectangle<int> area, float scale, const std::function<void (juce::Graphics&)>& paintLayer)
{
    if (area.isEmpty())
        return {};

    // Filling a cleared image stores the gradient's own premultiplied pixels, which then
    // blend onto the screen exactly as the gradient fill would.
    juce::Image layer (juce::Image::ARGB, (int) std::ceil ((float) area.getWidth() * scale),
                       (int) std::ceil ((float) area.getHeight() * scale), true, juce::SoftwareImageType());
    juce::Graphics g (layer);
    g.addTransform (juce::AffineTransform::scale (scale));
    paintLayer (g);
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
    g.setColour (flickerColour());
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
