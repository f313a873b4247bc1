#include "DemoSignal.h"

#include <cmath>

namespace
{
    constexpr double tempoBpm = 110.0;
    constexpr int beatsPerLoop = 8;
    constexpr double twoPi = juce::MathConstants<double>::twoPi;

    double midiToHz (int note)
    {
        return 440.0 * std::pow (2.0, (note - 69) / 12.0);
    }

    struct Voice
    {
        juce::AudioBuffer<float>& out;
        double sampleRate;

        template <typename SampleFunction>
        void add (double startSeconds, double lengthSeconds, float pan, SampleFunction&& sampleAt)
        {
            const auto start = (int) (startSeconds * sampleRate);
            const auto length = (int) (lengthSeconds * sampleRate);

            for (int i = 0; i < length && start + i < out.getNumSamples(); ++i)
            {
                const auto value = (float) sampleAt ((double) i / sampleRate);
                out.addSample (0, start + i, value * (1.0f - pan));
                out.addSample (1, start + i, value * (1.0f + pan));
            }
        }
    };
} // namespace

juce::AudioBuffer<float> DemoSignal::createLoop (double sampleRate)
{
    const auto beat = 60.0 / tempoBpm;
    const auto length = (int) (beat * beatsPerLoop * sampleRate);
    juce::AudioBuffer<float> out (2, length);
    out.clear();
    Voice voice { out, sampleRate };
    juce::Random noise (1234);

    for (int b = 0; b < beatsPerLoop; ++b)
    {
        const auto t = b * beat;

        // Kick on every beat: a falling sine with a short click.
        voice.add (t, 0.35, 0.0f,
                   [] (double s)
                   {
                       const auto phase = twoPi * (45.0 * s + 90.0 * (1.0 - std::exp (-s * 30.0)) / 30.0);
                       return 0.9 * std::sin (phase) * std::exp (-s * 9.0);
                   });

        // Snare on two and four: noise burst with a body tone.
        if (b % 2 == 1)
            voice.add (t, 0.25, 0.1f,
                       [&noise] (double s)
                       { return (0.45 * (noise.nextFloat() * 2.0 - 1.0) + 0.3 * std::sin (twoPi * 190.0 * s)) * std::exp (-s * 18.0); });

        // Hi-hats on the off-beats.
        voice.add (t + beat * 0.5, 0.06, -0.3f,
                   [&noise] (double s) { return 0.2 * (noise.nextFloat() * 2.0 - 1.0) * std::exp (-s * 60.0); });
    }

    // Bass: root notes of an A minor - F - C - G progression, two beats each.
    const int bassNotes[] = { 45, 41, 48, 43 };
    const int chordRoots[] = { 57, 53, 60, 55 };
    const int chordShapes[][3] = { { 0, 3, 7 }, { 0, 4, 7 }, { 0, 4, 7 }, { 0, 4, 7 } };

    for (int c = 0; c < 4; ++c)
    {
        const auto t = c * 2 * beat;
        const auto bassHz = midiToHz (bassNotes[c]);

        voice.add (t, beat * 1.9, 0.0f,
                   [bassHz] (double s)
                   {
                       const auto env = std::min (1.0, s * 200.0) * std::exp (-s * 1.5);
                       return 0.45 * env * (std::sin (twoPi * bassHz * s) + 0.3 * std::sin (twoPi * 2.0 * bassHz * s));
                   });

        for (int v = 0; v < 3; ++v)
        {
            const auto hz = midiToHz (chordRoots[c] + chordShapes[c][v]);
            voice.add (t, beat * 2.0, (float) (v - 1) * 0.4f,
                       [hz] (double s)
                       {
                           const auto env = std::min (1.0, s * 20.0) * std::exp (-s * 0.8);
                           return 0.09 * env * (std::sin (twoPi * hz * s) + 0.5 * std::sin (twoPi * 2.003 * hz * s));
                       });
        }
    }

    return out;
}
