#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>
#include <thread>

/** A host's audio thread in miniature: processes blocks of silence through a processor as
    fast as it can until stopped (or destroyed), handing each processed block to an optional
    inspector on that thread. */
class BackgroundAudio
{
public:
    using Inspector = std::function<void (const juce::AudioBuffer<float>&)>;

    BackgroundAudio (juce::AudioProcessor& processor, int blockSize, Inspector inspect = {});
    ~BackgroundAudio();

    /** Stops and joins the thread; blocks already processed have been inspected. */
    void stop();

private:
    std::atomic<bool> running { true };
    std::thread thread;
};
