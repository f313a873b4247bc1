#include "editor/SparseLayer.h"

#include <functional>

namespace
{
    constexpr int bandHeight = 8;
    // Gaps narrower than this are drawn through rather than split, to keep the parts few.
    constexpr int smallestGap = 16;
} // namespace

SparseLayer::SparseLayer (juce::Image imageToDraw, float scale) : image (std::move (imageToDraw)), pixelsPerUnit (scale)
{
    if (! image.isValid())
        return;

    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);

    for (int top = 0; top < image.getHeight(); top += bandHeight)
    {
        const auto bottom = juce::jmin (top + bandHeight, image.getHeight());
        int runStart = -1, lastVisible = -smallestGap - 1;

        const auto closeRun = [&]
        {
            if (runStart >= 0)
                parts.add ({ runStart, top, lastVisible + 1 - runStart, bottom - top });
        };

        for (int x = 0; x < image.getWidth(); ++x)
        {
            auto visible = false;

            for (int y = top; y < bottom && ! visible; ++y)
                visible = pixels.getPixelColour (x, y).getARGB() != 0;

            if (! visible)
                continue;

            if (x - lastVisible > smallestGap)
            {
                closeRun();
                runStart = x;
            }

            lastVisible = x;
        }

        closeRun();
    }

    for (const auto& part : parts)
        pieces.add (image.getClippedImage (part));
}

void SparseLayer::draw (juce::Graphics& g) const
{
    // Images are drawn at the opacity of the current colour: make it full.
    juce::Graphics::ScopedSaveState state (g);
    g.setOpacity (1.0f);

    for (int i = 0; i < parts.size(); ++i)
    {
        const auto& part = parts.getReference (i);

        if (std::equal_to<float>() (pixelsPerUnit, 1.0f))
            g.drawImageAt (pieces.getReference (i), part.getX(), part.getY());
        else
            g.drawImageTransformed (
                pieces.getReference (i),
                juce::AffineTransform::translation ((float) part.getX(), (float) part.getY()).scaled (1.0f / pixelsPerUnit));
    }
}
