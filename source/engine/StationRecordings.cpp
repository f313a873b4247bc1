#include "engine/StationRecordings.h"

#include "engine/StationPlayer.h"

#include <BinaryData.h>

#include <mutex>

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

    Set set;

    for (size_t k = 0; k < embedded.size(); ++k)
        StationPlayer::decode (embedded[k].first, embedded[k].second, 44100.0, set[k]);

    return set;
}
