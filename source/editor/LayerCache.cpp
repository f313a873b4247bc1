#include "editor/LayerCache.h"

#include <cmath>

void LayerCache::draw (juce::Graphics& g, juce::Rectangle<int> bounds, const Painter& paintBackdrop, const Painter& paintLayer)
{
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();
    const auto width = juce::jmax (1, (int) std::ceil ((float) bounds.getWidth() * scale));
    const auto height = juce::jmax (1, (int) std::ceil ((float) bounds.getHeight() * scale));

    if (! image.isValid() || imageBounds != bounds || ! std::equal_to<float>() (imageScale, scale))
    {
        image = juce::Image (juce::Image::RGB, width, height, true, juce::SoftwareImageType());
        juce::Graphics layer (image);
        layer.addTransform (juce::AffineTransform::scale (scale));

        if (paintBackdrop != nullptr)
            paintBackdrop (layer);

        paintLayer (layer);
        imageBounds = bounds;
        imageScale = scale;
    }

    juce::Graphics::ScopedSaveState state (g);
    g.setOpacity (1.0f); // images are drawn at the opacity of the current colour
    g.drawImageTransformed (image, juce::AffineTransform::scale (1.0f / scale).translated ((float) bounds.getX(), (float) bounds.getY()));
}
