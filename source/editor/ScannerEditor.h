#pragma once

#include "editor/BackdropImageCache.h"
#include "editor/CRTOverlay.h"
#include "editor/LayerCache.h"
#include "editor/RadioDisplay.h"
#include "editor/ScannerLookAndFeel.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

class ScannerProcessor;

/** The plug-in's 700 x 520 window in a retro terminal style: the tuning slider, five knobs
    and the auto-scan switch bound to the parameters, the radio display, a scrolling ticker
    and the screen-effect overlay on top of everything. */
class ScannerEditor : public juce::AudioProcessorEditor, private juce::Timer
{
public:
    explicit ScannerEditor (ScannerProcessor&);
    ~ScannerEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    /** One 33 ms tick: scrolls the ticker and repaints the footer strip. */
    void timerCallback() override;

    /** The ticker's x position for an offset: a whole number in (-width of the text, 0]. */
    static int tickerX (float offset, float textWidth) noexcept;

    /** The fixed ticker text and the width of one copy of it in the ticker's font. */
    static const juce::String tickerText;
    static float tickerTextWidth();

    /** The strip each ticker tick repaints: the footer bar and the ticker. */
    juce::Rectangle<int> tickerStrip() const noexcept;

    ScannerProcessor& processorRef;
    ScannerLookAndFeel scannerLookAndFeel;

    juce::Slider dialSlider, staticSlider, signalSlider, lofiSlider, rateSlider, mixSlider;
    juce::Label staticLabel, signalLabel, lofiLabel, rateLabel, mixLabel;
    juce::ToggleButton autoScanButton;

    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    using ButtonAttachment = juce::AudioProcessorValueTreeState::ButtonAttachment;
    std::unique_ptr<SliderAttachment> dialAttachment, staticAttachment, signalAttachment, lofiAttachment, rateAttachment, mixAttachment;
    std::unique_ptr<ButtonAttachment> autoScanAttachment;

    RadioDisplay radioDisplay;
    CRTOverlay crtOverlay;

    float tickerOffset = 0.0f;

    /** The panel behind the children does not change from frame to frame apart from the
        ticker: it is rendered once per size and scale and then copied. Off, every frame paints it. */
    bool useBackgroundCache = true;

    /** Every cache of the window at once: the panel, the overlay's gradients, the radio
        display's panel and marks, and the controls' images. On from the start; off, every
        frame paints everything, which the caches must match to within one unit per channel. */
    void setCachesEnabled (bool shouldCache);

private:
    void paintBackground (juce::Graphics&);
    void paintBackgroundBehind (juce::Graphics&, juce::Component& child);
    std::vector<juce::Component*> cachedControls();

    void setupKnob (juce::Slider&, juce::Label&, const juce::String& caption, const juce::String& suffix);

    void paintGrid (juce::Graphics&, int width, int height);
    void paintHeader (juce::Graphics&, int width, float widthF);
    void paintTitle (juce::Graphics&, float widthF);
    void paintStatusTexts (juce::Graphics&, int width, int height);
    void paintFooter (juce::Graphics&, int width, int height, float widthF);
    void paintTicker (juce::Graphics&, int height);
    void paintFrame (juce::Graphics&, float widthF, float heightF);

    LayerCache backgroundLayer;
    juce::Font tickerFont;
    float tickerWidth = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScannerEditor)
};
