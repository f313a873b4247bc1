#include "editor/ScannerEditor.h"
#include "processor/ScannerProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

// One frame of the plug-in's window: the editor, every child and the overlay, painted with
// the software renderer into an image, as a full repaint of the window does. At scale 2 the
// image has twice the pixels each way, as on a HiDPI screen whose host scales the editor.
static void BM_EditorPaintFrame (benchmark::State& state)
{
    const auto scale = (float) state.range (0);
    ScannerProcessor processor;
    ScannerEditor editor (processor);
    editor.radioDisplay.displayStation = 2;
    editor.radioDisplay.displayStrength = 0.5f; // a weak station: name, break-up bar and half the meter
    editor.radioDisplay.glitchNoise = 0.7f;
    juce::Image image (juce::Image::ARGB, (int) scale * editor.getWidth(), (int) scale * editor.getHeight(), true,
                       juce::SoftwareImageType());

    for (auto _ : state)
    {
        // What moves from frame to frame while the window stands still: the ticker, the sweep
        // band and flicker, and the needle easing towards the dial.
        editor.tickerOffset += 0.8f;
        editor.crtOverlay.sweepPosition = std::fmod (editor.crtOverlay.sweepPosition + 2.0f, 680.0f) - 40.0f;
        editor.crtOverlay.flickerLevel = editor.crtOverlay.flickerLevel > 1.0f ? 0.85f : 1.15f;
        editor.radioDisplay.displayDial = std::fmod (editor.radioDisplay.displayDial + 0.001f, 1.0f);
        editor.crtOverlay.repaint();
        editor.radioDisplay.repaint();

        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        editor.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (image.getPixelAt (350, 260));
    }

    state.SetLabel ("scale " + std::to_string ((int) scale));

    // Share of one core that painting takes at 30 frames a second, in percent (printed with an "s").
    state.counters["core_pct_at_30fps"] =
        benchmark::Counter (1.0 / 3000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK (BM_EditorPaintFrame)->Arg (1)->Arg (2)->Unit (benchmark::kMillisecond)->Repetitions (5)->ReportAggregatesOnly (true);

namespace
{
    /** Paints one child of the editor, on its own, into an image of its size. */
    void paintChild (benchmark::State& state, juce::Component& child)
    {
        juce::Image image (juce::Image::ARGB, child.getWidth(), child.getHeight(), true, juce::SoftwareImageType());

        for (auto _ : state)
        {
            juce::Graphics g (image);
            child.paintEntireComponent (g, false);
            benchmark::DoNotOptimize (image.getPixelAt (1, 1));
        }
    }
} // namespace

static void BM_EditorPaintParts (benchmark::State& state)
{
    ScannerProcessor processor;
    ScannerEditor editor (processor);
    editor.radioDisplay.displayStation = 2;
    editor.radioDisplay.displayStrength = 0.5f;
    juce::Component* parts[] = { &editor.radioDisplay, &editor.crtOverlay, &editor.mixSlider, &editor.dialSlider, &editor.autoScanButton };
    paintChild (state, *parts[state.range (0)]);
    const char* names[] = { "radio display", "overlay", "one knob", "tuning slider", "toggle" };
    state.SetLabel (names[state.range (0)]);
}
BENCHMARK (BM_EditorPaintParts)->DenseRange (0, 4)->Unit (benchmark::kMicrosecond);
