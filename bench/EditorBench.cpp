#include "editor/ScannerEditor.h"
#include "processor/ScannerProcessor.h"

#include <benchmark/benchmark.h>

// One frame of the plug-in's window: the editor, every child and the overlay, painted with
// the software renderer into a 700 x 520 image, as a full repaint of the window does.
static void BM_EditorPaintFrame (benchmark::State& state)
{
    ScannerProcessor processor;
    ScannerEditor editor (processor);
    editor.radioDisplay.displayStation = 2;
    editor.radioDisplay.displayStrength = 0.5f; // a weak station: name, break-up bar and half the meter
    editor.radioDisplay.glitchNoise = 0.7f;
    juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true, juce::SoftwareImageType());

    for (auto _ : state)
    {
        juce::Graphics g (image);
        editor.paintEntireComponent (g, false);
        editor.tickerOffset += 0.8f;
        benchmark::DoNotOptimize (image.getPixelAt (350, 260));
    }

    // Share of one core that painting takes at 30 frames a second, in percent (printed with an "s").
    state.counters["core_pct_at_30fps"] =
        benchmark::Counter (1.0 / 3000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK (BM_EditorPaintFrame)->Unit (benchmark::kMillisecond)->Repetitions (5)->ReportAggregatesOnly (true);

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
