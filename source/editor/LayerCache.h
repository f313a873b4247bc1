#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>

/** An image of what a component paints that depends on its size alone, rendered at the
    physical pixel scale of the context it is drawn into and rendered again only when the size
    or that scale changes. The layer is rendered over a backdrop, what lies beneath it in the
    window (the window's own, unchanging background), so that the image is opaque: where one
    image pixel is one pixel of the target (scale 1, and 2 on a HiDPI screen), drawing it
    copies exactly the pixels that painting backdrop and layer directly would have made. */
class LayerCache
{
public:
    using Painter = std::function<void (juce::Graphics&)>;

    /** Draws the layer of the given size, first rendering backdrop and layer if it is stale. */
    void draw (juce::Graphics& g, juce::Rectangle<int> bounds, const Painter& paintBackdrop, const Painter& paintLayer);

    /** Forgets the image (a size change, or a change in what the layer shows). */
    void clear() { image = {}; }

    /** Whether the layer can stand for direct painting into this context. */
    static bool canDrawInto (juce::Graphics& g) { return ! g.isVectorDevice(); }

private:
    juce::Image image;
    juce::Rectangle<int> imageBounds;
    float imageScale = 0.0f;
};
