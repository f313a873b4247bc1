#pragma once

#include "editor/SparseLayer.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A transparent screen effect over the whole editor: scan lines, a rolling sweep band,
    a faint flicker, a centre glow and a vignette. It lets every mouse click through. */
class CRTOverlay : public juce::Component, private juce::Timer
{
public:
    CRTOverlay();

    void paint (juce::Graphics&) override;

    /** One 33 ms tick: moves the sweep band down, draws a new flicker level, repaints. */
    void timerCallback() override;

    void resized() override;

    float sweepPosition = 0.0f;
    float flickerLevel = 1.0f;

    /** The centre glow and the vignette depend on the size alone: each is rendered once per
        size and scale into an image and then blended, which gives the same pixels as filling
        the gradient again. Off, every frame fills the gradients. */
    bool useGradientCache = true;

private:
    void paintScanLines (juce::Graphics&, int width, int height);
    void paintSweepBand (juce::Graphics&, float width, float height);
    void paintFlicker (juce::Graphics&, juce::Rectangle<int> area);
    static void paintCentreGlow (juce::Graphics&, juce::Rectangle<int> area);
    static void paintVignette (juce::Graphics&, juce::Rectangle<int> area);

    void refreshGradientCaches (float scale);
    static SparseLayer renderLayer (juce::Rectangle<int> area, float scale, void (*paintLayer) (juce::Graphics&, juce::Rectangle<int>));

    juce::Random rng;
    SparseLayer centreGlowCache, vignetteCache;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CRTOverlay)
};
