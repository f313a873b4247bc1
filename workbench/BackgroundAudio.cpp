#include "BackgroundAudio.h"

BackgroundAudio::BackgroundAudio (juce::AudioProcessor& processor, int blockSize, Inspector inspect)
{
    thread = std::thread (
        [this, &processor, blockSize, inspect]
        {
            juce::AudioBuffer<float> block (2, blockSize);
            juce::MidiBuffer midi;

            while (running)
            {
                block.clear();
                processor.processBlock (block, midi);

                if (inspect)
                    inspect (block);
            }
        });
}

BackgroundAudio::~BackgroundAudio()
{
    stop();
}

void BackgroundAudio::stop()
{
    running = false;

    if (thread.joinable())
        thread.join();
}
