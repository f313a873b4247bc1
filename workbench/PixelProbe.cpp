#include "PixelProbe.h"

juce::uint32 PixelProbe::blendedPixel (std::initializer_list<juce::uint32> layers)
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

juce::Image PixelProbe::renderAlone (juce::Component& component, juce::uint32 background)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true, juce::SoftwareImageType());
    juce::Graphics g (image);

    if (background != 0)
        g.fillAll (juce::Colour (background));

    component.paintEntireComponent (g, false);
    return image;
}

juce::uint32 PixelProbe::argbAt (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getARGB();
}

int PixelProbe::countDifferentPixels (const juce::Image& a, const juce::Image& b)
{
    int different = 0;

    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            different += a.getPixelAt (x, y).getARGB() != b.getPixelAt (x, y).getARGB() ? 1 : 0;

    return different;
}
