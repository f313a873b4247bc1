// station-generator: writes the six station recordings into a folder (normally resources/).
// Voices come from espeak-ng; interval signals, Morse, melodies, gongs and buzzers are
// synthesised here. Every random choice comes from fixed seeds, so two runs write identical
// files. Output: 16-bit mono PCM WAV at 44.1 kHz, 20 or 15 seconds, no INFO chunk.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace
{
    constexpr int sampleRate = 44100;
    constexpr double pi = 3.14159265358979323846;
    constexpr double twoPi = 2.0 * pi;

    // Every station is levelled to this RMS (dBFS) through a soft ceiling at -1.4 dBFS.
    constexpr double targetRmsDb = -15.0;
    constexpr double ceiling = 0.85;
    constexpr double minimumPeak = 0.53; // just above -6 dBFS

    using Signal = std::vector<double>;

    /** A small deterministic generator (xorshift64*), independent of the standard library's. */
    class Rng
    {
    public:
        explicit Rng (uint64_t seed) : state (seed * 0x9E3779B97F4A7C15ull + 1) {}

        double uniform() // [0, 1)
        {
            state ^= state >> 12;
            state ^= state << 25;
            state ^= state >> 27;
            return (double) ((state * 0x2545F4914F6CDD1Dull) >> 11) / 9007199254740992.0;
        }

        double between (double low, double high) { return low + (high - low) * uniform(); }

    private:
        uint64_t state;
    };

    Signal silence (double seconds)
    {
        return Signal ((size_t) (seconds * sampleRate), 0.0);
    }

    /** Adds `source` into `target` from `atSeconds` on, cut at the target's end. */
    void mixAt (Signal& target, const Signal& source, double atSeconds, double gain = 1.0)
    {
        const auto start = (size_t) (atSeconds * sampleRate);

        for (size_t i = 0; i < source.size() && start + i < target.size(); ++i)
            target[start + i] += source[i] * gain;
    }

    //==========================================================================
    // WAV input (espeak-ng's output) and output.

    uint32_t readLe (const std::vector<uint8_t>& bytes, size_t at, int size)
    {
        uint32_t value = 0;

        for (int i = 0; i < size; ++i)
            value |= (uint32_t) bytes[at + (size_t) i] << (8 * i);

        return value;
    }

    bool readWav16 (const std::string& path, Signal& out, int& rate)
    {
        std::ifstream file (path, std::ios::binary);
        std::vector<uint8_t> bytes ((std::istreambuf_iterator<char> (file)), {});

        if (bytes.size() < 12 || std::string (bytes.begin(), bytes.begin() + 4) != "RIFF")
            return false;

        int channels = 1;

        for (size_t at = 12; at + 8 <= bytes.size();)
        {
            const std::string id (bytes.begin() + (long) at, bytes.begin() + (long) at + 4);
            auto size = (size_t) readLe (bytes, at + 4, 4);
            const auto body = at + 8;

            if (id == "fmt ")
            {
                channels = (int) readLe (bytes, body + 2, 2);
                rate = (int) readLe (bytes, body + 4, 4);
            }
            else if (id == "data")
            {
                // espeak-ng writes to a pipe-friendly header whose data size may be unset.
                size = std::min (size, bytes.size() - body);

                for (size_t i = body; i + 2 <= body + size; i += 2 * (size_t) channels)
                    out.push_back ((int16_t) readLe (bytes, i, 2) / 32768.0);

                return true;
            }

            at = body + size + (size & 1);
        }

        return false;
    }

    void writeWav16 (const std::string& path, const Signal& signal)
    {
        std::vector<uint8_t> bytes;
        const auto put = [&bytes] (uint32_t value, int size)
        {
            for (int i = 0; i < size; ++i)
                bytes.push_back ((uint8_t) (value >> (8 * i)));
        };
        const auto tag = [&bytes] (const char* text) { bytes.insert (bytes.end(), text, text + 4); };
        const auto dataBytes = (uint32_t) (signal.size() * 2);

        tag ("RIFF");
        put (36 + dataBytes, 4);
        tag ("WAVE");
        tag ("fmt ");
        put (16, 4);
        put (1, 2); // integer PCM
        put (1, 2); // mono
        put (sampleRate, 4);
        put (sampleRate * 2, 4); // bytes per second
        put (2, 2);              // block alignment
        put (16, 2);
        tag ("data");
        put (dataBytes, 4);

        for (const auto sample : signal)
            put ((uint32_t) (uint16_t) (int16_t) std::lround (std::clamp (sample, -1.0, 1.0) * 32767.0), 2);

        std::ofstream (path, std::ios::binary).write ((const char*) bytes.data(), (long) bytes.size());
    }

    //==========================================================================
    // Filters and shaping.

    /** A biquad from the well-known audio-EQ cookbook formulas. */
    struct Biquad
    {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, z1 = 0, z2 = 0;

        static Biquad make (bool highPass, double hz, double q)
        {
            const auto w = twoPi * hz / sampleRate;
            const auto alpha = std::sin (w) / (2.0 * q);
            const auto c = std::cos (w);
            const auto a0 = 1.0 + alpha;
            Biquad f;
            f.b0 = (highPass ? (1.0 + c) / 2.0 : (1.0 - c) / 2.0) / a0;
            f.b1 = (highPass ? -(1.0 + c) : 1.0 - c) / a0;
            f.b2 = f.b0;
            f.a1 = -2.0 * c / a0;
            f.a2 = (1.0 - alpha) / a0;
            return f;
        }

        double process (double x)
        {
            const auto y = b0 * x + z1;
            z1 = b1 * x - a1 * y + z2;
            z2 = b2 * x - a2 * y;
            return y;
        }
    };

    /** The narrow, slightly overdriven sound of a transmitter's audio chain. */
    void transmitterBand (Signal& signal, double lowHz, double highHz, double drive)
    {
        auto hp1 = Biquad::make (true, lowHz, 0.707), hp2 = Biquad::make (true, lowHz, 0.707);
        auto lp1 = Biquad::make (false, highHz, 0.707), lp2 = Biquad::make (false, highHz, 0.707);

        for (auto& x : signal)
            x = std::tanh (drive * lp2.process (lp1.process (hp2.process (hp1.process (x))))) / std::tanh (drive);
    }

    /** Levels a signal to the target RMS under a soft ceiling, with its peak at -6 dBFS or above. */
    void level (Signal& signal)
    {
        const auto shaped = [&signal] (double gain)
        {
            Signal out (signal.size());

            for (size_t i = 0; i < out.size(); ++i)
                out[i] = ceiling * std::tanh (signal[i] * gain / ceiling);

            return out;
        };
        const auto rmsOf = [] (const Signal& s)
        {
            double sum = 0.0;

            for (const auto x : s)
                sum += x * x;

            return std::sqrt (sum / (double) s.size());
        };
        const auto peakOf = [] (const Signal& s)
        {
            double peak = 0.0;

            for (const auto x : s)
                peak = std::max (peak, std::abs (x));

            return peak;
        };

        const auto target = std::pow (10.0, targetRmsDb / 20.0);
        double low = 0.01, high = 100.0;

        for (int i = 0; i < 60; ++i)
        {
            const auto mid = std::sqrt (low * high);
            (rmsOf (shaped (mid)) < target ? low : high) = mid;
        }

        auto gain = low;

        while (peakOf (shaped (gain)) < minimumPeak)
            gain *= 1.02;

        signal = shaped (gain);
    }

    /** Fades both ends to silence so that the loop's seam makes no click. */
    void fadeEnds (Signal& signal, double seconds)
    {
        const auto n = std::min (signal.size() / 2, (size_t) (seconds * sampleRate));

        for (size_t i = 0; i < n; ++i)
        {
            const auto g = 0.5 - 0.5 * std::cos (pi * (double) i / (double) n);
            signal[i] *= g;
            signal[signal.size() - 1 - i] *= g;
        }
    }

    //==========================================================================
    // Sources.

    /** Speaks `text` with espeak-ng (voice, words per minute, pitch 0..99) at 44.1 kHz. */
    Signal speak (const std::string& voice, const std::string& text, int wordsPerMinute, int pitch)
    {
        const std::string path = "/tmp/station-generator-speech.wav";
        const auto command = "espeak-ng -v " + voice + " -s " + std::to_string (wordsPerMinute) + " -p " + std::to_string (pitch) + " -w "
                             + path + " \"" + text + "\"";

        if (std::system (command.c_str()) != 0)
        {
            std::cerr << "station-generator: espeak-ng failed: " << command << "\n";
            std::exit (1);
        }

        Signal speech;
        int rate = 22050;

        if (! readWav16 (path, speech, rate) || speech.empty())
        {
            std::cerr << "station-generator: cannot read espeak-ng's output\n";
            std::exit (1);
        }

        std::remove (path.c_str());
        std::cerr << "  speech: " << (double) speech.size() / rate << " s: " << text << "\n";

        // Linear interpolation up to 44.1 kHz; the transmitter band removes what it adds.
        const auto ratio = (double) rate / sampleRate;
        Signal out ((size_t) ((double) speech.size() / ratio));

        for (size_t i = 0; i < out.size(); ++i)
        {
            const auto p = (double) i * ratio;
            const auto j = (size_t) p;
            const auto f = p - (double) j;
            out[i] = j + 1 < speech.size() ? speech[j] * (1.0 - f) + speech[j + 1] * f : speech[j];
        }

        return out;
    }

    /** Groups of digits read with pauses, e.g. "3, 7, 5, 1, 9." for every group. */
    std::string digitGroups (Rng& rng, int groups, int digitsPerGroup, const char* separator)
    {
        std::string text;

        for (int g = 0; g < groups; ++g)
        {
            for (int d = 0; d < digitsPerGroup; ++d)
            {
                text += std::to_string ((int) (rng.uniform() * 10.0));
                text += d + 1 < digitsPerGroup ? separator : ". ";
            }
        }

        return text;
    }

    /** A sum of decaying sine partials: bells, music boxes and gongs. */
    Signal struck (double hz, const std::vector<std::pair<double, double>>& partials, double decaySeconds, double seconds)
    {
        Signal out = silence (seconds);

        for (size_t i = 0; i < out.size(); ++i)
        {
            const auto t = (double) i / sampleRate;
            const auto attack = std::min (1.0, t * 400.0);
            double value = 0.0;

            for (const auto& [ratio, gain] : partials)
                value += gain * std::sin (twoPi * hz * ratio * t) * std::exp (-t * ratio / decaySeconds);

            out[i] = value * attack;
        }

        return out;
    }

    /** A breathy organ-flute tone with a little vibrato. */
    Signal flute (double hz, double seconds, Rng& rng)
    {
        Signal out = silence (seconds);
        double phase = 0.0;

        for (size_t i = 0; i < out.size(); ++i)
        {
            const auto t = (double) i / sampleRate;
            const auto envelope = std::min (1.0, t * 25.0) * std::min (1.0, (seconds - t) * 20.0);
            phase += twoPi * hz * (1.0 + 0.004 * std::sin (twoPi * 5.5 * t)) / sampleRate;
            out[i] = envelope
                     * (0.6 * std::sin (phase) + 0.25 * std::sin (2.0 * phase) + 0.12 * std::sin (3.0 * phase)
                        + 0.03 * (rng.uniform() * 2.0 - 1.0));
        }

        return out;
    }

    double midiToHz (double note)
    {
        return 440.0 * std::pow (2.0, (note - 69.0) / 12.0);
    }

    //==========================================================================
    // The six stations.

    Signal numbersStation()
    {
        Rng rng (101);
        auto out = silence (20.0);

        // Interval signal: a detuned music-box phrase, played twice.
        const double phrase[] = { 76, 72, 79, 71, 76, 74, 67 };

        for (int repeat = 0; repeat < 2; ++repeat)
            for (size_t n = 0; n < std::size (phrase); ++n)
            {
                const auto at = 0.15 + repeat * 2.9 + (double) n * 0.38;
                const auto detune = rng.between (-0.25, 0.25);
                const auto bell =
                    struck (midiToHz (phrase[n] + detune), { { 1.0, 0.6 }, { 2.01, 0.25 }, { 3.98, 0.12 }, { 5.4, 0.05 } }, 0.9, 1.6);
                mixAt (out, bell, at, 0.5);
            }

        auto voice = speak ("en", digitGroups (rng, 2, 5, ", "), 105, 22);
        transmitterBand (voice, 250.0, 3400.0, 1.5);
        mixAt (out, voice, 6.4);
        return out;
    }

    Signal morseStation()
    {
        Rng rng (202);
        auto out = silence (15.0);

        const char* codes[36] = {
            ".-",   "-...", "-.-.",  "-..",   ".",     "..-.",  "--.",   "....",  "..",    ".---",  "-.-",   ".-..",
            "--",   "-.",   "---",   ".--.",  "--.-",  ".-.",   "...",   "-",     "..-",   "...-",  ".--",   "-..-",
            "-.--", "--..", "-----", ".----", "..---", "...--", "....-", ".....", "-....", "--...", "---..", "----."
        };
        const std::string message = "CQ CQ DE K7XR K7XR QRV 5NN 73 DE K7XR";
        const auto dot = 1.2 / 17.0; // 17 words per minute

        // Key timings with a hand's unevenness, then a 700 Hz tone with soft 6 ms edges.
        std::vector<std::pair<double, double>> keyDowns;
        double t = 0.4;

        for (const auto c : message)
        {
            if (c == ' ')
            {
                t += dot * 4.0 * rng.between (0.9, 1.3);
                continue;
            }

            const auto index = c >= 'A' ? c - 'A' : 26 + (c - '0');

            for (const char* e = codes[index]; *e != 0; ++e)
            {
                const auto length = (*e == '.' ? dot : dot * 3.0) * rng.between (0.85, 1.15);
                keyDowns.emplace_back (t, length);
                t += length + dot * rng.between (0.85, 1.2);
            }

            t += dot * 2.0 * rng.between (0.9, 1.2);
        }

        const auto edge = 0.006;

        for (const auto& [start, length] : keyDowns)
        {
            const auto first = (size_t) (start * sampleRate);
            const auto count = (size_t) ((length + edge) * sampleRate);

            for (size_t i = 0; i < count && first + i < out.size(); ++i)
            {
                const auto local = (double) i / sampleRate;
                const auto rise = std::min (1.0, local / edge);
                const auto fall = std::clamp ((length + edge - local) / edge, 0.0, 1.0);
                const auto shape = std::sin (0.5 * pi * rise) * std::sin (0.5 * pi * fall);
                const auto time = (double) (first + i) / sampleRate;
                out[first + i] += shape * std::sin (twoPi * 700.0 * time);
            }
        }

        // Slow fading of the carrier and a little receiver hiss under it.
        for (size_t i = 0; i < out.size(); ++i)
        {
            const auto time = (double) i / sampleRate;
            const auto fade = 0.75 + 0.25 * std::sin (twoPi * 0.13 * time + 0.8) * std::sin (twoPi * 0.051 * time);
            out[i] = out[i] * fade + 0.02 * (rng.uniform() * 2.0 - 1.0);
        }

        return out;
    }

    Signal swedishStation()
    {
        Rng rng (303);
        auto out = silence (20.0);

        auto tone = silence (0.9);

        for (size_t i = 0; i < tone.size(); ++i)
        {
            const auto t = (double) i / sampleRate;
            tone[i] = 0.7 * std::sin (twoPi * 1000.0 * t) * std::min (1.0, t * 100.0) * std::min (1.0, (0.9 - t) * 100.0);
        }

        mixAt (out, tone, 0.3);
        mixAt (out, tone, 1.5);

        auto voice = speak ("sv", digitGroups (rng, 3, 5, ", "), 120, 45);
        transmitterBand (voice, 280.0, 3200.0, 1.8);
        mixAt (out, voice, 2.9);
        return out;
    }

    Signal poacherStation()
    {
        Rng rng (404);
        auto out = silence (20.0);

        // A folk-style phrase in G major: note (MIDI) and length in beats.
        const std::pair<double, double> tune[] = { { 67, 1 }, { 71, 1 },   { 74, 1.5 }, { 72, 0.5 }, { 71, 1 }, { 69, 1 },
                                                   { 67, 1 }, { 69, 0.5 }, { 71, 0.5 }, { 72, 1 },   { 69, 1 }, { 67, 2 } };
        const auto beat = 0.36;
        double at = 0.3;

        for (const auto& [note, beats] : tune)
        {
            mixAt (out, flute (midiToHz (note), beats * beat * 0.95, rng), at, 0.5);
            at += beats * beat;
        }

        auto voice = speak ("en+f3", digitGroups (rng, 4, 5, " "), 125, 55);
        transmitterBand (voice, 300.0, 3400.0, 1.6);
        mixAt (out, voice, at + 0.6);
        return out;
    }

    Signal gongStation()
    {
        Rng rng (505);
        auto out = silence (15.0);
        const std::vector<std::pair<double, double>> partials { { 1.0, 0.5 },  { 1.47, 0.35 }, { 2.09, 0.3 },
                                                                { 2.56, 0.2 }, { 3.12, 0.15 }, { 4.3, 0.08 } };

        // Strike, digits, strike, digits; the last gong rings out into the loop's end.
        auto first = speak ("en-us", digitGroups (rng, 2, 4, " "), 110, 35);
        auto second = speak ("en-us", digitGroups (rng, 2, 4, " "), 110, 35);
        transmitterBand (first, 300.0, 3400.0, 1.6);
        transmitterBand (second, 300.0, 3400.0, 1.6);

        const auto firstEnd = 1.6 + (double) first.size() / sampleRate;
        const auto secondStart = firstEnd + 1.6;
        const auto secondEnd = secondStart + (double) second.size() / sampleRate;

        for (const auto strike : { 0.1, firstEnd + 0.2, std::min (secondEnd + 0.2, 13.0) })
            mixAt (out, struck (rng.between (175.0, 185.0), partials, 2.6, 5.5), strike, 0.6);

        mixAt (out, first, 1.6);
        mixAt (out, second, secondStart);
        return out;
    }

    Signal militaryStation()
    {
        Rng rng (606);
        auto out = silence (15.0);

        // The buzzer: a harsh, slightly wobbling square-ish tone in pulses.
        const auto buzz = [&out, &rng] (double start, double seconds)
        {
            double phase = 0.0;
            const auto first = (size_t) (start * sampleRate);

            for (size_t i = 0; i < (size_t) (seconds * sampleRate) && first + i < out.size(); ++i)
            {
                const auto t = (double) i / sampleRate;
                phase += twoPi * (118.0 + 3.0 * std::sin (twoPi * 7.0 * t)) / sampleRate;
                const auto edges = std::min (1.0, t * 300.0) * std::min (1.0, (seconds - t) * 300.0);
                out[first + i] += edges * 0.5 * (std::tanh (6.0 * std::sin (phase)) + 0.1 * (rng.uniform() * 2.0 - 1.0));
            }
        };

        for (double t = 0.2; t < 4.0; t += 0.95)
            buzz (t, 0.7);

        auto voice = speak ("en+m3", "Alpha, Tango, Kilo, Zulu, Romeo, Echo.", 150, 30);
        transmitterBand (voice, 350.0, 3000.0, 2.5);
        mixAt (out, voice, 4.3);

        for (double t = 4.3 + (double) voice.size() / sampleRate + 0.4; t < 14.2; t += 0.95)
            buzz (t, 0.7);

        return out;
    }
} // namespace

int main (int argc, char* argv[])
{
    const std::string folder = argc > 1 ? argv[1] : "resources";
    const std::pair<const char*, std::function<Signal()>> stations[] = {
        { "station_creepy.wav", numbersStation },  { "station_morse.wav", morseStation }, { "station_voice.wav", swedishStation },
        { "station_poacher.wav", poacherStation }, { "station_gong.wav", gongStation },   { "station_military.wav", militaryStation },
    };

    for (const auto& [name, make] : stations)
    {
        auto signal = make();
        level (signal);
        fadeEnds (signal, 0.02);
        writeWav16 (folder + "/" + name, signal);
        std::cout << "wrote " << folder << "/" << name << " (" << (double) signal.size() / sampleRate << " s)\n";
    }

    return 0;
}
