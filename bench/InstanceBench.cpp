// What instances cost as a host creates them from the built bundle: load the module once, then
// create, prepare and process one block for each, keeping all of them alive.

#include "BundleHost.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <unistd.h>

namespace
{
    double residentMegabytes()
    {
        std::ifstream statm ("/proc/self/statm");
        size_t pages = 0, resident = 0;
        statm >> pages >> resident;
        return (double) resident * (double) sysconf (_SC_PAGESIZE) / (1024.0 * 1024.0);
    }

    std::unique_ptr<juce::AudioPluginInstance> createPlayingInstance (juce::VST3PluginFormat& format,
                                                                      const juce::PluginDescription& description)
    {
        juce::String error;
        auto instance = format.createInstanceFromDescription (description, 44100.0, 512, error);

        if (instance == nullptr)
            return nullptr;

        instance->prepareToPlay (44100.0, 512);
        juce::AudioBuffer<float> block (2, 512);
        block.clear();
        juce::MidiBuffer midi;
        instance->processBlock (block, midi);
        return instance;
    }
} // namespace

static void BM_BundleInstances (benchmark::State& state)
{
    const auto description = BundleHost::describe (BundleHost::defaultBundle());

    if (! description)
    {
        state.SkipWithError ("no bundle");
        return;
    }

    for (auto _ : state)
    {
        juce::VST3PluginFormat format;
        std::vector<std::unique_ptr<juce::AudioPluginInstance>> instances;
        std::vector<double> millis;

        // The module itself is loaded (and its static data set up) by the first description.
        const auto rssBefore = residentMegabytes();
        double rssAfterOne = 0.0, rssAfterSixteen = 0.0;

        for (int i = 0; i < 64; ++i)
        {
            const auto start = juce::Time::getMillisecondCounterHiRes();
            instances.push_back (createPlayingInstance (format, *description));
            millis.push_back (juce::Time::getMillisecondCounterHiRes() - start);

            if (instances.back() == nullptr)
            {
                state.SkipWithError ("the bundle created no instance");
                return;
            }

            if (i == 0)
                rssAfterOne = residentMegabytes();

            if (i == 15)
                rssAfterSixteen = residentMegabytes();
        }

        const auto rssAfterSixtyFour = residentMegabytes();
        std::vector<double> later (millis.begin() + 1, millis.begin() + 16);
        std::nth_element (later.begin(), later.begin() + (long) later.size() / 2, later.end());

        state.counters["first_ms"] = millis.front();
        state.counters["median_2_to_16_ms"] = later[later.size() / 2];
        state.counters["rss_before_MB"] = rssBefore;
        state.counters["rss_after_1_MB"] = rssAfterOne;
        state.counters["rss_after_16_MB"] = rssAfterSixteen;
        state.counters["rss_after_64_MB"] = rssAfterSixtyFour;
        state.counters["MB_per_later_instance"] = (rssAfterSixtyFour - rssAfterOne) / 63.0;

        for (auto& instance : instances)
            instance->releaseResources();
    }
}
BENCHMARK (BM_BundleInstances)->Iterations (1)->Unit (benchmark::kMillisecond);
