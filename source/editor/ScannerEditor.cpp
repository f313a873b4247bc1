#include "editor/ScannerEditor.h"
#include "editor/ScannerPalette.h"

#include "editor/ScannerFonts.h"
#include "processor/ScannerProcessor.h"

#include <cmath>
#include <functional>

namespace
{
    // The header bar, with a glow 3 px either side of its lower edge; nothing is placed in the band.
    constexpr int headerBarHeight = 52;
    constexpr int headerGlowReach = 3;
    constexpr int headerBand = headerBarHeight + headerGlowReach;

    // The footer bar with the ticker; its band (what each ticker tick repaints) keeps 2 px above it.
    constexpr int footerBarHeight = 26;
    constexpr int footerBand = footerBarHeight + 2;
    constexpr float displayShare = 0.38f; // of the content height, for the radio display
    constexpr float tickerStep = 0.8f;    // pixels per 33 ms tick, about 24 per second
} // namespace

const juce::String ScannerEditor::tickerText (
    ">>> OMBREL KORRIN SCANNER  //  FM RADIO SIMULATION  //  6 STATIONS: STATIC | LO-FI | VOICE | SIGNAL | TONES | GHOST  //  AUTO SCAN ENABLED  ///  ");

ScannerEditor::ScannerEditor (ScannerProcessor& p)
    : AudioProcessorEditor (p),
      processorRef (p),
      radioDisplay (p),
      tickerFont (ScannerFonts::monospaced (11.0f, false)),
      tickerWidth (tickerTextWidth())
{
    setLookAndFeel (&scannerLookAndFeel);
    setSize (700, 520);

    dialSlider.setSliderStyle (juce::Slider::LinearHorizontal);
    dialSlider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    addAndMakeVisible (dialSlider);

    setupKnob (staticSlider, staticLabel, "STATIC", "%");
    setupKnob (signalSlider, signalLabel, "SIGNAL", "%");
    setupKnob (lofiSlider, lofiLabel, "LO-FI", "%");
    setupKnob (rateSlider, rateLabel, "RATE", "%");
    setupKnob (mixSlider, mixLabel, "MIX", "%");

    addAndMakeVisible (autoScanButton);

    auto& state = processorRef.parameters;
    dialAttachment = std::make_unique<SliderAttachment> (state, ParameterIds::dial, dialSlider);
    staticAttachment = std::make_unique<SliderAttachment> (state, ParameterIds::staticAmt, staticSlider);
    signalAttachment = std::make_unique<SliderAttachment> (state, ParameterIds::signal, signalSlider);
    lofiAttachment = std::make_unique<SliderAttachment> (state, ParameterIds::lofi, lofiSlider);
    rateAttachment = std::make_unique<SliderAttachment> (state, ParameterIds::scanRate, rateSlider);
    mixAttachment = std::make_unique<SliderAttachment> (state, ParameterIds::mix, mixSlider);
    autoScanAttachment = std::make_unique<ButtonAttachment> (state, ParameterIds::autoScan, autoScanButton);

    addAndMakeVisible (radioDisplay);
    addAndMakeVisible (crtOverlay);

    setCachesEnabled (true);
    startTimer (33);
}

ScannerEditor::~ScannerEditor()
{
    // No control may draw with the look-and-feel once the members start to go.
    setLookAndFeel (nullptr);
}

void ScannerEditor::setupKnob (juce::Slider& slider, juce::Label& label, const juce::String& caption, const juce::String& suffix)
{
    slider.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 70, 18);
    slider.setColour (juce::Slider::textBoxTextColourId, ScannerPalette::purple());
    slider.setColour (juce::Slider::textBoxOutlineColourId, juce::Colours::transparentBlack);
    slider.setTextValueSuffix (suffix);
    addAndMakeVisible (slider);

    label.setText (caption, juce::dontSendNotification);
    label.setFont (ScannerFonts::monospaced (12.0f, true));
    label.setColour (juce::Label::textColourId, ScannerPalette::cyan());
    label.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (label);
}

void ScannerEditor::resized()
{
    auto area = getLocalBounds();
    area.removeFromTop (headerBand);
    area.removeFromBottom (footerBand);
    area = area.reduced (16, 8);

    radioDisplay.setBounds (area.removeFromTop ((int) ((float) area.getHeight() * displayShare)));
    area.removeFromTop (8);

    auto dialRow = area.removeFromTop (36);
    dialRow.removeFromLeft (100); // the panel paints "TUNING://" near here
    dialSlider.setBounds (dialRow);
    area.removeFromTop (10);

    autoScanButton.setBounds (area.removeFromTop (36).removeFromLeft (200));
    area.removeFromTop (8);

    const auto columnWidth = area.getWidth() / 5;
    const std::pair<juce::Label*, juce::Slider*> knobs[] = {
        { &staticLabel, &staticSlider }, { &signalLabel, &signalSlider }, { &lofiLabel, &lofiSlider }, { &rateLabel, &rateSlider }
    };

    for (const auto& [label, slider] : knobs)
    {
        auto column = area.removeFromLeft (columnWidth);
        label->setBounds (column.removeFromTop (16));
        slider->setBounds (column);
    }

    mixLabel.setBounds (area.removeFromTop (16));
    mixSlider.setBounds (area);

    crtOverlay.setBounds (getLocalBounds());
    backgroundLayer.clear();
}

void ScannerEditor::timerCallback()
{
    tickerOffset += tickerStep;
    repaint (tickerStrip());
}

juce::Rectangle<int> ScannerEditor::tickerStrip() const noexcept
{
    return { 0, getHeight() - footerBand, getWidth(), footerBand };
}

int ScannerEditor::tickerX (float offset, float textWidth) noexcept
{
    return (int) -std::fmod (offset, textWidth);
}

float ScannerEditor::tickerTextWidth()
{
    return ScannerFonts::stringWidth (ScannerFonts::monospaced (11.0f, false), tickerText);
}

void ScannerEditor::setCachesEnabled (bool shouldCache)
{
    useBackgroundCache = shouldCache;
    crtOverlay.useGradientCache = shouldCache;
    radioDisplay.useStaticLayerCache = shouldCache;
    radioDisplay.paintBackdrop = [this] (juce::Graphics& g) { paintBackgroundBehind (g, radioDisplay); };

    // The controls change only when they are moved (or hovered): each keeps an image of
    // itself as the window shows it, which the window's 30 repaints a second copy.
    for (auto* control : cachedControls())
        control->setCachedComponentImage (
            shouldCache ? new BackdropImageCache (*control, *this, [this] (juce::Graphics& g) { paintBackground (g); }) : nullptr);

    repaint();
}

std::vector<juce::Component*> ScannerEditor::cachedControls()
{
    return { &dialSlider,  &staticSlider, &signalSlider, &lofiSlider, &rateSlider, &mixSlider,
             &staticLabel, &signalLabel,  &lofiLabel,    &rateLabel,  &mixLabel,   &autoScanButton };
}

void ScannerEditor::paintBackgroundBehind (juce::Graphics& g, juce::Component& child)
{
    const juce::Graphics::ScopedSaveState state (g);
    g.addTransform (juce::AffineTransform::translation ((float) -child.getX(), (float) -child.getY()));
    paintBackground (g);
}

void ScannerEditor::paint (juce::Graphics& g)
{
    if (useBackgroundCache && LayerCache::canDrawInto (g))
        backgroundLayer.draw (g, getLocalBounds(), nullptr, [this] (juce::Graphics& layer) { paintBackground (layer); });
    else
        paintBackground (g);

    paintTicker (g, getHeight());
    paintFrame (g, (float) getWidth(), (float) getHeight());
}

void ScannerEditor::paintBackground (juce::Graphics& g)
{
    const auto width = getWidth(), height = getHeight();
    const auto widthF = (float) width;

    g.fillAll (ScannerPalette::body());
    paintGrid (g, width, height);
    paintHeader (g, width, widthF);
    paintTitle (g, widthF);
    paintStatusTexts (g, width, height);
    paintFooter (g, width, height, widthF);
}

void ScannerEditor::paintGrid (juce::Graphics& g, int width, int height)
{
    g.setColour (ScannerPalette::grid());

    for (int y = 0; y < height; y += 16)
        g.drawHorizontalLine (y, 0.0f, (float) width);

    for (int x = 0; x < width; x += 16)
        g.drawVerticalLine (x, 0.0f, (float) height);
}

void ScannerEditor::paintHeader (juce::Graphics& g, int width, float widthF)
{
    g.setColour (ScannerPalette::bar (0xEE));
    g.fillRect (0, 0, width, headerBarHeight);
    g.setColour (ScannerPalette::purple (0x0F));
    g.fillRect (juce::Rectangle<float> (0.0f, (float) (headerBarHeight - headerGlowReach), widthF, (float) (2 * headerGlowReach)));
    g.setColour (ScannerPalette::purple (0x99));
    g.drawHorizontalLine (headerBarHeight, 0.0f, widthF);
}

void ScannerEditor::paintTitle (juce::Graphics& g, float widthF)
{
    const juce::String title ("OMBREL://SCANNER");
    const auto drawAt = [&] (int dx, int dy)
    { g.drawText (title, juce::Rectangle<float> ((float) dx, 8.0f + (float) dy, widthF, 38.0f), juce::Justification::centred, true); };
    const auto glow = [&] (juce::Colour colour, int reach)
    {
        g.setColour (colour);

        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy)
                drawAt (dx, dy);
    };

    g.setFont (ScannerFonts::monospaced (26.0f, true));
    glow (ScannerPalette::purple (0x08), 3);
    glow (ScannerPalette::purple (0x14), 1);
    glow (ScannerPalette::purple(), 0);
    glow (ScannerPalette::lavender (0x2E), 0);
}

void ScannerEditor::paintStatusTexts (juce::Graphics& g, int width, int height)
{
    g.setFont (ScannerFonts::monospaced (10.0f, false));
    g.setColour (ScannerPalette::deepPurple (0x80));
    g.drawText ("RADIO://ACTIVE", juce::Rectangle<float> (10.0f, 4.0f, 140.0f, 14.0f), juce::Justification::centredLeft, true);
    g.drawText ("v" JucePlugin_VersionString, juce::Rectangle<float> ((float) (width - 70), 4.0f, 60.0f, 14.0f),
                juce::Justification::centredRight, true);

    g.setFont (ScannerFonts::monospaced (12.0f, true));
    g.setColour (ScannerPalette::cyan (0x99));
    const auto tuningY = 68 + (int) (displayShare * (float) height);
    g.drawText ("TUNING://", juce::Rectangle<float> (20.0f, (float) tuningY, 100.0f, 16.0f), juce::Justification::centredLeft, true);
}

void ScannerEditor::paintFooter (juce::Graphics& g, int width, int height, float widthF)
{
    g.setColour (ScannerPalette::bar (0xEE));
    g.fillRect (0, height - footerBarHeight, width, footerBarHeight);
    g.setColour (ScannerPalette::purple (0x66));
    g.drawHorizontalLine (height - footerBarHeight, 0.0f, widthF);
}

void ScannerEditor::paintTicker (juce::Graphics& g, int height)
{
    static const juce::String twice = tickerText + tickerText;
    const auto x = tickerX (tickerOffset, tickerWidth);

    g.setFont (tickerFont);
    g.setColour (ScannerPalette::purple (0x66));
    g.drawText (twice, juce::Rectangle<float> ((float) x, (float) (height - 24), (float) (int) (tickerWidth * 2.5f), 20.0f),
                juce::Justification::centredLeft, false);
}

void ScannerEditor::paintFrame (juce::Graphics& g, float widthF, float heightF)
{
    g.setColour (ScannerPalette::purple (0x80));
    g.drawRect (juce::Rectangle<float> (0.0f, 0.0f, widthF, heightF), 1.0f);

    g.setColour (ScannerPalette::cyan (0x80));
    const float brackets[][4] = { { 0.0f, 0.0f, 18.0f, 0.0f },
                                  { 0.0f, 0.0f, 0.0f, 18.0f },
                                  { widthF - 18.0f, 0.0f, widthF, 0.0f },
                                  { widthF, 0.0f, widthF, 18.0f },
                                  { 0.0f, heightF, 18.0f, heightF },
                                  { 0.0f, heightF - 18.0f, 0.0f, heightF },
                                  { widthF - 18.0f, heightF, widthF, heightF },
                                  { widthF, heightF - 18.0f, widthF, heightF } };

    for (const auto& line : brackets)
        g.drawLine (line[0], line[1], line[2], line[3], 2.0f);
}
