#include "BackgroundAudio.h"
#include "EditorDeleter.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

// Hosts call from several threads at once: audio on one, state and automation on another,
// the editor on the message thread. Run all three together for a few seconds.
TEST (Concurrency, audioStateAutomationAndEditorTogether)
{
    ScannerProcessor processor;
    processor.prepareToPlay (48000.0, 1024);
    std::atomic<bool> running { true };
    std::atomic<int> badOutputs { 0 }, badReadouts { 0 }, blocks { 0 };

    std::thread audio (
        [&]
        {
            juce::AudioBuffer<float> buffer (2, 1024);
            juce::MidiBuffer midi;
            juce::Random random (1);

            while (running)
            {
                const auto n = random.nextInt (1025);
                buffer.setSize (2, n, false, false, true);

                for (int c = 0; c < 2; ++c)
                    for (int i = 0; i < n; ++i)
                        buffer.setSample (c, i, random.nextFloat() * 2.0f - 1.0f);

                processor.processBlock (buffer, midi);

                for (int c = 0; c < 2; ++c)
                    for (int i = 0; i < n; ++i)
                        if (! std::isfinite (buffer.getSample (c, i)) || std::abs (buffer.getSample (c, i)) > 1.0f)
                            ++badOutputs;

                const auto dial = processor.currentDial.load();
                const auto station = processor.currentStation.load();
                const auto strength = processor.signalStrength.load();

                if (dial < 0.0f || dial > 1.0f || station < -1 || station > 5 || strength < 0.0f || strength > 1.0f)
                    ++badReadouts;

                ++blocks;
            }
        });

    std::thread host (
        [&]
        {
            juce::Random random (2);
            auto& parameters = processor.getParameters();

            while (running)
            {
                for (auto* parameter : parameters)
                    parameter->setValueNotifyingHost (random.nextFloat());

                juce::MemoryBlock state;
                processor.getStateInformation (state);

                if (random.nextBool())
                    state.setSize ((size_t) random.nextInt ((int) state.getSize() + 1)); // sometimes damaged

                processor.setStateInformation (state.getData(), (int) state.getSize());
            }
        });

    const auto end = juce::Time::getMillisecondCounter() + 4000;

    while (juce::Time::getMillisecondCounter() < end)
    {
        OwnedEditor editor (processor.createEditorIfNeeded());
        juce::MessageManager::getInstance()->runDispatchLoopUntil (60);
        juce::Image image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (image);
        editor->paintEntireComponent (g, false);
    }

    running = false;
    audio.join();
    host.join();

    EXPECT_GT (blocks.load(), 100);
    EXPECT_EQ (badOutputs.load(), 0);
    EXPECT_EQ (badReadouts.load(), 0);
}

// Hosts such as Bitwig and Reaper create instances on several threads at once, while other
// instances already play. Every instance shares one decoding of the recordings.
TEST (Concurrency, instancesComeAndGoOnFourThreadsWhileOthersPlay)
{
    auto live = std::make_unique<ScannerProcessor>();
    live->prepareToPlay (44100.0, 256);
    const auto& liveRecording = live->stations[3].samples();
    const std::vector<float> before (liveRecording.getReadPointer (0), liveRecording.getReadPointer (0) + liveRecording.getNumSamples());
    std::atomic<int> badOutputs { 0 }, unloaded { 0 };

    BackgroundAudio audio (*live, 256,
                           [&badOutputs] (const juce::AudioBuffer<float>& block)
                           {
                               for (int i = 0; i < block.getNumSamples(); ++i)
                                   badOutputs +=
                                       std::isfinite (block.getSample (0, i)) && std::abs (block.getSample (0, i)) <= 0.7f ? 0 : 1;
                           });

    // Round 0 with the live instance holding the recordings; round 1 without, so that the
    // threads race to decode them and to free them.
    for (int round = 0; round < 2; ++round)
    {
        std::vector<std::thread> creators;

        for (int t = 0; t < 4; ++t)
            creators.emplace_back (
                [&]
                {
                    for (int i = 0; i < 6; ++i)
                    {
                        ScannerProcessor created;

                        for (const auto& station : created.stations)
                            unloaded += station.loaded ? 0 : 1;
                    }
                });

        for (auto& creator : creators)
            creator.join();

        if (round == 0)
        {
            audio.stop();
            EXPECT_EQ (std::memcmp (liveRecording.getReadPointer (0), before.data(), before.size() * sizeof (float)), 0);
            live.reset();
        }
    }

    EXPECT_EQ (badOutputs.load(), 0);
    EXPECT_EQ (unloaded.load(), 0);
}
