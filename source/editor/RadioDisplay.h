#pragma once

#include "editor/LayerCache.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ScannerProcessor;

/** The tuning window: an 88 to 110 MHz scale with station dots and a needle, the frequency,
    the received station's name and an eight-bar signal meter. It follows the engine's three
    readouts on its own timer and reads nothing else. */
class RadioDisplay : public juce::Component, private juce::Timer
{
public:
    explicit RadioDisplay (ScannerProcessor& processorToFollow);

    void paint (juce::Graphics&) override;

    /** One 41 ms tick: eases the needle, loads the readouts, draws fresh glitch noise, repaints. */
    void timerCallback() override;

    /** Where the painting puts things, from the component's size. */
    struct Geometry
    {
        float contentWidth, contentHeight;               // inside the 12 px margins
        float scaleHeight, scaleBottom;                  // the MHz scale with its dots and needle
        float readoutTop, readoutHeight;                 // the row of readouts below the scale
        float frequencyWidth;                            // the frequency readout, at the left
        float nameLeft, nameWidth;                       // the station's name, in the middle
        float meterLeft, meterWidth;                     // the signal meter, at the right
        float barWidth, barStep, meterTotal, meterStart; // its eight bars

        /** The x of a dial value 0..1 on the scale. */
        float xOfDial (float dial) const noexcept { return 12.0f + dial * contentWidth; }
    };

    static Geometry geometryFor (float width, float height) noexcept;

    /** The frequency text of a dial value, e.g. "99.0". */
    static juce::String frequencyText (float dial);

    /** How many meter bars light at a strength. */
    static int litBars (float strength) noexcept;

    /** The name shown for a station and strength: the station's, or "[ SCANNING... ]". */
    static juce::String shownName (int station, float strength);

    float displayDial = 0.5f;
    float displayStrength = 0.0f;
    int displayStation = -1;
    float glitchNoise = 0.0f;

    /** The panel and the scale's marks are rendered once per size and scale and then copied.
        Off, every frame paints them. */
    bool useStaticLayerCache = true;

    /** Paints what lies beneath the display in the window, in the display's coordinates, for
        the cached layer to be rendered over; without it the layer is rendered over black. */
    LayerCache::Painter paintBackdrop;

    void resized() override { staticLayer.clear(); }

private:
    static bool isReceived (int station, float strength) noexcept;

    void paintPanel (juce::Graphics&, float width, float height);
    void paintScaleMarks (juce::Graphics&, const Geometry&);
    void paintStationsAndNeedle (juce::Graphics&, const Geometry&);
    void paintFrequency (juce::Graphics&, const Geometry&);
    void paintStationName (juce::Graphics&, const Geometry&);
    void paintMeter (juce::Graphics&, const Geometry&);

    ScannerProcessor& processor;
    juce::Random glitchRandom;
    LayerCache staticLayer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RadioDisplay)
};
