#include "editor/BackdropImageCache.h"

#include <cmath>

BackdropImageCache::BackdropImageCache (juce::Component& ownerToCache, juce::Component& windowOfOwner, Painter paintWindowBackground)
    : owner (ownerToCache), window (windowOfOwner), background (std::move (paintWindowBackground))
{}

void BackdropImageCache::paint (juce::Graphics& g)
{
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();

    if (! valid || ! std::equal_to<float>() (imageScale, scale))
        render (scale);

    const juce::Graphics::ScopedSaveState state (g);
    g.setOpacity (1.0f); // images are drawn at the opacity of the current colour
    g.drawImageTransformed (image, juce::AffineTransform::scale (1.0f / scale));
}

void BackdropImageCache::render (float scale)
{
    const auto area = window.getLocalArea (&owner, owner.getLocalBounds());
    const auto physical = (area.toFloat() * scale).getSmallestIntegerContainer();

    // Only the control's rectangle of the scratch image is painted and kept.
    juce::Image scratch (juce::Image::RGB, juce::jmax (1, physical.getRight()), juce::jmax (1, physical.getBottom()), false,
                         juce::SoftwareImageType());

    {
        juce::Graphics g (scratch);
        g.addTransform (juce::AffineTransform::scale (scale));
        g.reduceClipRegion (area);
        background (g);

        // As the window paints a child: clipped to its bounds, then moved to its origin.
        g.setOrigin (area.getPosition());
        owner.paintEntireComponent (g, false);
    }

    image = scratch.getClippedImage (physical).createCopy();
    imageScale = scale;
    valid = true;
}

bool BackdropImageCache::invalidateAll()
{
    valid = false;
    return true;
}

bool BackdropImageCache::invalidate (const juce::Rectangle<int>&)
{
    valid = false;
    return true;
}

void BackdropImageCache::releaseResources()
{
    image = {};
    valid = false;
}
