#pragma once

#include <juce_graphics/juce_graphics.h>

/** The editor's colours, each value written once. A colour comes at full strength or at the
    alpha byte an element draws it with (0x80 is about half), so what reaches the renderer is
    always one exact ARGB value. */
class ScannerPalette
{
public:
    static juce::Colour purple (juce::uint8 alpha = 0xFF) { return withAlpha (0xBB44FF, alpha); } // the main accent
    static juce::Colour deepPurple (juce::uint8 alpha = 0xFF) { return withAlpha (0x7722CC, alpha); }
    static juce::Colour cyan (juce::uint8 alpha = 0xFF) { return withAlpha (0x00FFEE, alpha); }
    static juce::Colour green (juce::uint8 alpha = 0xFF) { return withAlpha (0x44FF88, alpha); }
    static juce::Colour lavender (juce::uint8 alpha = 0xFF) { return withAlpha (0xEEDDFF, alpha); }
    static juce::Colour pink (juce::uint8 alpha = 0xFF) { return withAlpha (0xFF2090, alpha); }
    static juce::Colour white (juce::uint8 alpha = 0xFF) { return withAlpha (0xFFFFFF, alpha); }
    static juce::Colour black (juce::uint8 alpha = 0xFF) { return withAlpha (0x000000, alpha); }

    // The near-blacks, from the deepest: the display's screen, the header and footer bars, the
    // window and knob bodies, the switch's box when off, and the background grid.
    static juce::Colour screen (juce::uint8 alpha = 0xFF) { return withAlpha (0x010005, alpha); }
    static juce::Colour bar (juce::uint8 alpha = 0xFF) { return withAlpha (0x000005, alpha); }
    static juce::Colour body (juce::uint8 alpha = 0xFF) { return withAlpha (0x030008, alpha); }
    static juce::Colour switchOff (juce::uint8 alpha = 0xFF) { return withAlpha (0x08000F, alpha); }
    static juce::Colour grid (juce::uint8 alpha = 0xFF) { return withAlpha (0x0A0515, alpha); }

private:
    static juce::Colour withAlpha (juce::uint32 rgb, juce::uint8 alpha) { return juce::Colour (((juce::uint32) alpha << 24) | rgb); }
};
