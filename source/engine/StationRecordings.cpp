#include "engine/StationRecordings.h"

#include "engine/StationPlayer.h"

#include <BinaryData.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <limits>

#include <mutex>
#include <system_error>
#include <thread>

std::shared_ptr<const StationRecordings::Set> StationRecordings::acquire()
{
    static std::mutex mutex;
    static std::weak_ptr<const Set> current;

    const std::lock_guard<std::mutex> lock (mutex);

    if (auto set = current.lock())
        return set;

    auto set = std::make_shared<const Set> (decodeAll());
    current = set;
    return set;
}

namespace
{
    /** The sample count a WAV image declares; 0 for bytes that are not a WAV. */
    int lengthOfRecording (const void* data, int sizeInBytes)
    {
        juce::WavAudioFormat format;
        std::unique_ptr<juce::AudioFormatReader> reader (
            format.createReaderFor (new juce::MemoryInputStream (data, (size_t) juce::jmax (0, sizeInBytes), false), true));
        return reader != nullptr
                   ? (int) juce::jlimit ((juce::int64) 0, (juce::int64) std::numeric_limits<int>::max(), reader->lengthInSamples)
                   : 0;
    }
} // namespace

StationRecordings::Set StationRecordings::decodeAll()
{
    // Station k plays the recording at entry k; the module lists them in another order.
    const std::array<std::pair<const char*, int>, numStations> embedded { {
        { BinaryData::station_creepy_wav, BinaryData::station_creepy_wavSize },
        { BinaryData::station_morse_wav, BinaryData::station_morse_wavSize },
        { BinaryData::station_voice_wav, BinaryData::station_voice_wavSize },
        { BinaryData::station_poacher_wav, BinaryData::station_poacher_wavSize },
        { BinaryData::station_gong_wav, BinaryData::station_gong_wavSize },
        { BinaryData::station_military_wav, BinaryData::station_military_wavSize },
    } };

    // Most of the time goes to filling 18 MB of fresh memory: half of the recordings are
    // decoded on a helper thread while this one decodes the other half. The buffers are
    // allocated here first, so that the memory comes from (and returns to) this thread's heap.
    Set set;

    for (size_t k = 0; k < embedded.size(); ++k)
        set[k].setSize (1, lengthOfRecording (embedded[k].first, embedded[k].second));
    const auto decodeEvery = [&] (size_t first)
    {
        for (auto k = first; k < embedded.size(); k += 2)
            StationPlayer::decode (embedded[k].first, embedded[k].second, 44100.0, set[k]);
    };

    std::thread helper;

    try
    {
        helper = std::thread (decodeEvery, size_t { 1 });
    }
    catch (const std::system_error&)
    {
        decodeEvery (1); // no thread to be had: decode that half here too
    }

    decodeEvery (0);

    if (helper.joinable())
        helper.join();

    return set;
}
