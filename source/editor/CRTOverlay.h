#pragma once

#include "editor/SparseLayer.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <utility>
#include <vector>

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

    /** The flicker, centre glow and vignette are blended into one layer per flicker colour,
        size and scale, and the layer blended over the frame in one pass (within one unit per
        channel of filling them one after the other). Off, every frame fills them. */
    bool useGradientCache = true;

private:
    void paintScanLines (juce::Graphics&, int width, int height);
    void paintSweepBand (juce::Graphics&, float width, float height);
    void paintFlicker (juce::Graphics&, juce::Rectangle<int> area);
    static void paintCentreGlow (juce::Graphics&, juce::Rectangle<int> area);
    static void paintVignette (juce::Graphics&, juce::Rectangle<int> area);

    juce::Colour flickerColour() const;
    const SparseLayer& finishingLayerFor (juce::Colour flicker, float scale);
    static SparseLayer renderLayer (juce::Rectangle<int> area, float scale, const std::function<void (juce::Graphics&)>& paintLayer);

    juce::Random rng;
    std::vector<std::pair<juce::Colour, SparseLayer>> finishingLayers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CRTOverlay)
};
