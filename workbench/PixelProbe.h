#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

/** Pixels of painted components, as the software renderer makes them. */
class PixelProbe
{
public:
    /** What the renderer makes of colours filled one over the other on one pixel: the
        reference for probes into painted components. */
    static juce::uint32 blendedPixel (std::initializer_list<juce::uint32> layers);

    /** Paints a component on its own into an image of its size, over a background if one is given. */
    static juce::Image renderAlone (juce::Component& component, juce::uint32 background = 0);

    static juce::uint32 argbAt (const juce::Image& image, int x, int y);

    /** How many pixels of two images of one size differ in any channel. */
    static int countDifferentPixels (const juce::Image& a, const juce::Image& b);
};
