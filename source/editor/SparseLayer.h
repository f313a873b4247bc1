#pragma once

#include <juce_graphics/juce_graphics.h>

/** A translucent image to blend over a component, kept with the rectangles that hold all of
    its non-transparent pixels. Blending a fully transparent pixel changes nothing, so drawing
    only those rectangles gives exactly the pixels of drawing the whole image, for less work. */
class SparseLayer
{
public:
    SparseLayer() = default;

    /** Scans the image in bands of rows for the columns that hold any visible pixel. The
        image holds `scale` pixels per unit of the component it is drawn over. */
    explicit SparseLayer (juce::Image imageToDraw, float scale = 1.0f);

    bool isValid() const noexcept { return image.isValid(); }
    /** The area it covers, in the units of the component it is drawn over. */
    juce::Rectangle<int> getBounds() const noexcept { return (image.getBounds().toFloat() / pixelsPerUnit).toNearestInt(); }
    float getScale() const noexcept { return pixelsPerUnit; }

    /** Blends the image at the origin of the context, visible parts only. */
    void draw (juce::Graphics&) const;

    const juce::Array<juce::Rectangle<int>>& getParts() const noexcept { return parts; }

private:
    juce::Image image;
    juce::Array<juce::Image> pieces;
    juce::Array<juce::Rectangle<int>> parts;
    float pixelsPerUnit = 1.0f;
};
