#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The neon-on-black terminal style of the auto-scan switch, the tuning slider and the knobs.
    Everything else keeps the framework's dark default look. */
class ScannerLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ScannerLookAndFeel() = default;

    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle, juce::Slider&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional, float rotaryStartAngle,
                           float rotaryEndAngle, juce::Slider&) override;
};
