#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
    std::atomic<bool> counting { false };
    std::atomic<int> allocations { 0 };

    void* countedAllocation (std::size_t size)
    {
        if (counting.load (std::memory_order_relaxed))
            allocations.fetch_add (1, std::memory_order_relaxed);

        if (auto* p = std::malloc (size == 0 ? 1 : size))
            return p;

        throw std::bad_alloc();
    }
} // namespace

void* operator new (std::size_t size)
{
    return countedAllocation (size);
}
void* operator new[] (std::size_t size)
{
    return countedAllocation (size);
}
void operator delete (void* p) noexcept
{
    std::free (p);
}
void operator delete[] (void* p) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    std::free (p);
}

TEST (RealTimeSafety, processBlockAllocatesNothing)
{
    EngineHarness engine (44100.0, 4096);
    const std::tuple<int, int, float, float> cases[] = {
        { 2, 512, 0.40f, 0.0f }, { 2, 512, 0.15f, 0.0f }, { 2, 4096, 0.5f, 1.0f },
        { 1, 7, 0.58f, 1.0f },   { 0, 64, 0.22f, 0.0f },  { 4, 0, 0.9f, 1.0f },
    };

    for (const auto& [channels, samples, dial, autoScan] : cases)
    {
        engine.set ("dial", dial);
        engine.set ("autoScan", autoScan);
        auto buffer = EngineHarness::tones (channels, samples);
        juce::MidiBuffer midi;

        allocations = 0;
        counting = true;
        engine.processor.processBlock (buffer, midi);
        counting = false;

        EXPECT_EQ (allocations.load(), 0) << channels << " channels, " << samples << " samples";
    }
}
