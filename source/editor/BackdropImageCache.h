#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A control's image as the window shows it: rendered, when the control repaints itself, into
    a window-sized scratch image at the control's own place in the window, over the window's
    unchanging background, at the scale of the screen; the control's rectangle is then kept.
    Rendering at the true window position matters: the renderer's antialiasing depends on the
    absolute coordinates of a shape, so only there do the kept pixels equal, exactly, what
    painting the control directly into the window makes. The kept image is opaque. */
class BackdropImageCache : public juce::CachedComponentImage
{
public:
    using Painter = std::function<void (juce::Graphics&)>;

    /** paintWindowBackground paints, in the window's coordinates, what lies beneath its controls. */
    BackdropImageCache (juce::Component& owner, juce::Component& window, Painter paintWindowBackground);

    void paint (juce::Graphics&) override;
    bool invalidateAll() override;
    bool invalidate (const juce::Rectangle<int>&) override;
    void releaseResources() override;

private:
    void render (float scale);

    juce::Component& owner;
    juce::Component& window;
    Painter background;
    juce::Image image;
    float imageScale = 0.0f;
    bool valid = false;
};
