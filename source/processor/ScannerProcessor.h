#pragma once

#include "engine/StationPlayer.h"
#include "engine/StationTable.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <array>
#include <atomic>

/** IDs of the seven host-automatable parameters; hosts store automation and state under them. */
namespace ParameterIds
{
    inline constexpr const char* dial = "dial";
    inline constexpr const char* staticAmt = "staticAmt";
    inline constexpr const char* signal = "signal";
    inline constexpr const char* lofi = "lofi";
    inline constexpr const char* autoScan = "autoScan";
    inline constexpr const char* scanRate = "scanRate";
    inline constexpr const char* mix = "mix";
} // namespace ParameterIds

/** The plug-in: an FM radio whose dial is turned across six looping stations. */
class ScannerProcessor : public juce::AudioProcessor
{
public:
    ScannerProcessor();
    ~ScannerProcessor() override = default;

    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    /** The seven parameters in layout order, unowned by any processor (hosts use their ranges). */
    static std::vector<std::unique_ptr<juce::RangedAudioParameter>> createParameters();

    //==============================================================================
    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using AudioProcessor::processBlock;

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    //==============================================================================
    /** Strength (0..1) with which dial value x receives station k (0..5). */
    static float getStationStrength (float x, int k) noexcept { return stationStrength (x, k); }

    /** One static sample: uniform noise times 0.35 plus an occasional crackle. */
    float generateStatic() noexcept;

    /** One auto-scan step for a block of numSamples samples. */
    void updateAutoScan (int numSamples) noexcept;

    /** Binds the six players to the process's one decoding of the embedded recordings, which
        the first instance makes and the last one frees. */
    void loadStations();

    //==============================================================================
    juce::AudioProcessorValueTreeState parameters;

    // Readouts published once per block by the audio thread for the radio display.
    std::atomic<float> currentDial { 0.5f };
    std::atomic<float> signalStrength { 0.0f };
    std::atomic<int> currentStation { -1 };

    // Engine state: touched only by the audio calls once the constructor has returned.
    // Public so that tests can look inside the engine; the editor only loads the readouts.
    double currentSampleRate = 44100.0;
    juce::dsp::StateVariableTPTFilter<float> tuningFilter;
    juce::Random random;
    float scanPosition = 0.5f;
    float scanDirection = 1.0f;
    bool isDwelling = false;
    int dwellSamplesRemaining = 0;
    std::array<StationPlayer, numStations> stations;
    float lofiHoldValue = 0.0f;
    int lofiHoldCounter = 0;

private:
    struct BlockSettings;

    /** The store's raw values, looked up once: the audio thread reads them without a string search. */
    struct ParameterReferences
    {
        explicit ParameterReferences (const juce::AudioProcessorValueTreeState& store);

        const std::atomic<float>& dial;
        const std::atomic<float>& staticAmt;
        const std::atomic<float>& signal;
        const std::atomic<float>& lofi;
        const std::atomic<float>& autoScan;
        const std::atomic<float>& scanRate;
        const std::atomic<float>& mix;
    };

    BlockSettings readBlockSettings() const noexcept;
    float findDialInUse (const BlockSettings& settings, int numSamples) noexcept;
    void publishReadouts (float dial, StationReception reception) noexcept;
    void configureFilter (float dial, float signalFraction) noexcept;
    float filterInput (float mono) noexcept;
    float tuneStation (StationReception reception, float filtered) noexcept;
    bool holdLofi (float value, int holdLength) noexcept;
    static float saturate (float held) noexcept;
    static float finiteOrSilence (float sample) noexcept;

    struct Bleed
    {
        int station;
        float gain;
    };

    /** The stations that leak in during one block, in station order; fixed size, no allocation. */
    struct BleedList
    {
        std::array<Bleed, numStations> items {};
        int size = 0;

        void add (Bleed bleed) noexcept { items[(size_t) size++] = bleed; }
        const Bleed* begin() const noexcept { return items.data(); }
        const Bleed* end() const noexcept { return items.data() + size; }
    };

    static BleedList findBleedingStations (float dial, StationReception reception) noexcept;
    void advanceSilentStations (int receivedIndex, const BleedList& bleeds, int numSamples) noexcept;

    const ParameterReferences parameterRefs { parameters };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScannerProcessor)
};
