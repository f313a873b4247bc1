#include "RawParameters.h"
#include "processor/ScannerProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr int blockSize = 512;

    /** Stereo 512-sample blocks at 44.1 kHz of a loud input, or of silence. */
    void processBlocks (benchmark::State& state, std::initializer_list<std::pair<const char*, float>> settings, bool silent)
    {
        ScannerProcessor processor;

        for (const auto& [id, value] : settings)
            RawParameters::set (processor.parameters, id, value);

        processor.prepareToPlay (sampleRate, blockSize);
        juce::AudioBuffer<float> input (2, blockSize), block (2, blockSize);
        juce::Random random (1);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                input.setSample (channel, i, silent ? 0.0f : random.nextFloat() * 1.6f - 0.8f);

        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            block.makeCopyOf (input, true);
            processor.processBlock (block, midi);
            benchmark::DoNotOptimize (block.getReadPointer (0));
        }

        state.counters["ns_per_sample"] =
            benchmark::Counter ((double) blockSize, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
        state.counters["x_realtime"] = benchmark::Counter ((double) blockSize / sampleRate, benchmark::Counter::kIsIterationInvariantRate);
    }
} // namespace

static void BM_Construction (benchmark::State& state)
{
    for (auto _ : state)
    {
        ScannerProcessor processor;
        benchmark::DoNotOptimize (processor.stations[0].samples().getReadPointer (0));
    }
}
BENCHMARK (BM_Construction)->Unit (benchmark::kMillisecond)->Repetitions (5)->ReportAggregatesOnly (true);

// As a host creates a further instance: another one already holds the decoded recordings.
static void BM_ConstructionBesideALiveInstance (benchmark::State& state)
{
    ScannerProcessor live;

    for (auto _ : state)
    {
        ScannerProcessor processor;
        benchmark::DoNotOptimize (processor.stations[0].samples().getReadPointer (0));
    }
}
BENCHMARK (BM_ConstructionBesideALiveInstance)->Unit (benchmark::kMillisecond)->Repetitions (5)->ReportAggregatesOnly (true);

static void BM_ProcessBlockOnStation (benchmark::State& state)
{
    processBlocks (state, { { "dial", 0.40f } }, false);
}
static void BM_ProcessBlockBetweenStations (benchmark::State& state)
{
    processBlocks (state, { { "dial", 0.15f } }, false);
}
static void BM_ProcessBlockAutoScan (benchmark::State& state)
{
    processBlocks (state, { { "autoScan", 1.0f }, { "scanRate", 100.0f } }, false);
}
static void BM_ProcessBlockSilentInput (benchmark::State& state)
{
    processBlocks (state, { { "dial", 0.31f } }, true);
}

BENCHMARK (BM_ProcessBlockOnStation)->Repetitions (5)->ReportAggregatesOnly (true);
BENCHMARK (BM_ProcessBlockBetweenStations)->Repetitions (5)->ReportAggregatesOnly (true);
BENCHMARK (BM_ProcessBlockAutoScan)->Repetitions (5)->ReportAggregatesOnly (true);
BENCHMARK (BM_ProcessBlockSilentInput)->Repetitions (5)->ReportAggregatesOnly (true);
