#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

/** What the software renderer makes of colours filled one over the other on one pixel:
    the reference for probes into painted components. */
inline juce::uint32 blendedPixel (std::initializer_list<juce::uint32> layers)
{
    juce::Image pixel (juce::Image::ARGB, 1, 1, true, juce::SoftwareImageType());
    juce::Graphics g (pixel);

    for (const auto argb : layers)
    {
        g.setColour (juce::Colour (argb));
        g.fillRect (0, 0, 1, 1);
    }

    return pixel.getPixelAt (0, 0).getARGB();
}

/** Paints a component on its own into an image of its size. */
inline juce::Image renderAlone (juce::Component& component, juce::uint32 background = 0)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true, juce::SoftwareImageType());
    juce::Graphics g (image);

    if (background != 0)
        g.fillAll (juce::Colour (background));

    component.paintEntireComponent (g, false);
    return image;
}

inline juce::uint32 argbAt (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getARGB();
}
