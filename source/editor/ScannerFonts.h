#pragma once

#include <juce_graphics/juce_graphics.h>

/** Every text of the editor uses the platform's default monospaced typeface. */
namespace ScannerFonts
{
    /** The monospaced placeholder typeface at a height in pixels, bold or plain. Built from
        juce::FontOptions where the framework has them (JUCE 8), else from the equivalent
        juce::Font constructor, so that the rest of the editor compiles on both. */
    inline juce::Font monospaced (float height, bool bold)
    {
        const auto style = bold ? juce::Font::bold : juce::Font::plain;
#if JUCE_MAJOR_VERSION >= 8
        return juce::Font (juce::FontOptions (juce::Font::getDefaultMonospacedFontName(), height, style));
#else
        return juce::Font (juce::Font::getDefaultMonospacedFontName(), height, style);
#endif
    }

    /** The width of a text on one line in a font: as JUCE 8 shapes it, or as JUCE 7 measures it. */
    inline float stringWidth (const juce::Font& font, const juce::String& text)
    {
#if JUCE_MAJOR_VERSION >= 8
        return juce::GlyphArrangement::getStringWidth (font, text);
#else
        return font.getStringWidthFloat (text);
#endif
    }
} // namespace ScannerFonts
