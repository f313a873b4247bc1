#include "processor/ScannerProcessor.h"

#include "editor/ScannerEditor.h"
#include "engine/StationRecordings.h"
#include "processor/StateChunkSafety.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
    // The engine treats the four percentage parameters as fractions.
    constexpr float percent = 100.0f;

    // Gains of the signal chain.
    constexpr float tunedInputGain = 0.25f;
    constexpr float recordingGain = 0.7f;
    constexpr float noiseGain = 0.35f;
    constexpr float crackleProbability = 0.003f;
    constexpr float crackleGain = 0.8f;
    constexpr float staticShareAtFullStrength = 0.7f;
    constexpr float saturationDrive = 2.0f;
    constexpr float outputLevel = 0.7f;

    // Strength thresholds: the received station is heard above 0.01; neighbours bleed
    // in only below 0.3; auto-scan locks above 0.85.
    constexpr float audibleStrength = 0.01f;
    constexpr float bleedBelowStrength = 0.3f;
    constexpr float lockStrength = 0.85f;

    // The dial maps to a band-pass centre from 200 Hz to 3200 Hz.
    constexpr float lowestCutoffHz = 200.0f;
    constexpr float cutoffSpanHz = 3000.0f;

    // Auto-scan sweeps 0.4 dial units per second at full rate.
    constexpr float fullScanSpeed = 0.4f;

    /** Truncates toward zero; the limits only guard absurd or broken host sample rates. */
    int truncateToSampleCount (double samples) noexcept
    {
        if (! (samples > 0.0))
            return 0;

        return samples < (double) std::numeric_limits<int>::max() ? (int) samples : std::numeric_limits<int>::max();
    }

    std::unique_ptr<juce::AudioParameterFloat> makePercentParameter (const char* id, const char* name, float defaultValue)
    {
        return std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, 1 }, name,
                                                            juce::NormalisableRange<float> (0.0f, 100.0f, 0.1f, 1.0f), defaultValue);
    }
} // namespace

/** The values one block works with, read once at its top. */
struct ScannerProcessor::BlockSettings
{
    float dial, staticAmt, signal, lofi, mix;
    bool autoScanOn;
};

ScannerProcessor::ScannerProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "Parameters", createParameterLayout())
{
    loadStations();
}

juce::AudioProcessorValueTreeState::ParameterLayout ScannerProcessor::createParameterLayout()
{
    auto list = createParameters();
    return { std::make_move_iterator (list.begin()), std::make_move_iterator (list.end()) };
}

std::vector<std::unique_ptr<juce::RangedAudioParameter>> ScannerProcessor::createParameters()
{
    std::vector<std::unique_ptr<juce::RangedAudioParameter>> list;

    list.push_back (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { ParameterIds::dial, 1 }, "Dial",
                                                                 juce::NormalisableRange<float> (0.0f, 1.0f, 0.001f, 1.0f), 0.5f));
    list.push_back (makePercentParameter (ParameterIds::staticAmt, "Static", 40.0f));
    list.push_back (makePercentParameter (ParameterIds::signal, "Signal", 60.0f));
    list.push_back (makePercentParameter (ParameterIds::lofi, "Lo-Fi", 50.0f));
    list.push_back (std::make_unique<juce::AudioParameterBool> (juce::ParameterID { ParameterIds::autoScan, 1 }, "Auto Scan", false));
    list.push_back (makePercentParameter (ParameterIds::scanRate, "Scan Rate", 30.0f));
    list.push_back (makePercentParameter (ParameterIds::mix, "Mix", 100.0f));
    return list;
}

const juce::String ScannerProcessor::getName() const
{
    return "Ombrel Korrin Scanner";
}

bool ScannerProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

void ScannerProcessor::loadStations()
{
    // Every instance plays from one decoded copy of the recordings; each keeps its own
    // positions. The players' references keep the copy alive as long as this instance lives.
    const auto recordings = StationRecordings::acquire();

    for (size_t k = 0; k < stations.size(); ++k)
        stations[k].play (std::shared_ptr<const juce::AudioBuffer<float>> (recordings, &(*recordings)[k]));
}

juce::AudioProcessorEditor* ScannerProcessor::createEditor()
{
    return new ScannerEditor (*this);
}

//==============================================================================
void ScannerProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = parameters.copyState();

    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destData);
}

void ScannerProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr || ! StateChunkSafety::isSafeToParse (data, sizeInBytes))
        return;

    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (parameters.state.getType().toString())
        || StateChunkSafety::hasDuplicateAttributes (*xml))
        return;

    parameters.replaceState (StateChunkSafety::completeRestoredState (juce::ValueTree::fromXml (*xml), parameters));
}

//==============================================================================
void ScannerProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    currentSampleRate = sampleRate;
    tuningFilter.prepare ({ sampleRate, (juce::uint32) maximumExpectedSamplesPerBlock, 1 });
    tuningFilter.setType (juce::dsp::StateVariableTPTFilterType::bandpass);
    scanPosition = 0.5f;
}

void ScannerProcessor::releaseResources()
{
    tuningFilter.reset();
}

ScannerProcessor::ParameterReferences::ParameterReferences (const juce::AudioProcessorValueTreeState& store)
    : dial (*store.getRawParameterValue (ParameterIds::dial)),
      staticAmt (*store.getRawParameterValue (ParameterIds::staticAmt)),
      signal (*store.getRawParameterValue (ParameterIds::signal)),
      lofi (*store.getRawParameterValue (ParameterIds::lofi)),
      autoScan (*store.getRawParameterValue (ParameterIds::autoScan)),
      scanRate (*store.getRawParameterValue (ParameterIds::scanRate)),
      mix (*store.getRawParameterValue (ParameterIds::mix))
{}

ScannerProcessor::BlockSettings ScannerProcessor::readBlockSettings() const noexcept
{
    BlockSettings settings;
    settings.dial = parameterRefs.dial.load();
    settings.staticAmt = parameterRefs.staticAmt.load() / percent;
    settings.signal = parameterRefs.signal.load() / percent;
    settings.lofi = parameterRefs.lofi.load() / percent;
    settings.autoScanOn = parameterRefs.autoScan.load() > 0.5f;
    settings.mix = parameterRefs.mix.load() / percent;
    return settings;
}

void ScannerProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto settings = readBlockSettings();

    const auto numSamples = buffer.getNumSamples();
    const auto numChannels = buffer.getNumChannels();

    const auto dial = findDialInUse (settings, numSamples);
    const auto reception = findStrongestStation (dial);
    publishReadouts (dial, reception);
    configureFilter (dial, settings.signal);

    const auto holdLength = 1 - (int) (settings.lofi * -30.0f);
    const auto staticGain = (1.0f - reception.strength * staticShareAtFullStrength) * settings.staticAmt;
    const auto channelDivisor = numChannels > 0 ? (float) numChannels : 1.0f;
    const auto dryGain = 1.0f - settings.mix;
    const auto bleeds = findBleedingStations (dial, reception);

    // The saturated value changes only when the hold takes a new value.
    auto wet = saturate (lofiHoldValue);
    auto* const* channels = buffer.getArrayOfWritePointers();

    for (int i = 0; i < numSamples; ++i)
    {
        auto sum = 0.0f;

        // A sample that is no finite number counts as silence, in the fold and the dry path
        // alike: 0 x NaN is NaN, so even a fully wet mix would pass it to the host's bus.
        for (int channel = 0; channel < numChannels; ++channel)
        {
            channels[channel][i] = finiteOrSilence (channels[channel][i]);
            sum += channels[channel][i];
        }

        const auto mono = sum / channelDivisor;
        const auto dryL = numChannels > 0 ? channels[0][i] : 0.0f;
        const auto dryR = numChannels > 1 ? channels[1][i] : 0.0f;

        const auto filtered = filterInput (mono);
        const auto tuned = tuneStation (reception, filtered);

        // Of the stations not received, only the bleeding ones are heard within the block;
        // the others move on all at once after it.
        for (const auto& bleed : bleeds)
            stations[(size_t) bleed.station].advance();

        auto out = tuned * reception.strength * settings.signal + generateStatic() * staticGain;

        for (const auto& bleed : bleeds)
            out += bleed.gain * stations[(size_t) bleed.station].previousSample();

        if (holdLofi (out, holdLength))
            wet = saturate (lofiHoldValue);

        if (numChannels > 0)
            channels[0][i] = dryGain * dryL + wet * settings.mix;

        if (numChannels > 1)
            channels[1][i] = dryGain * dryR + wet * settings.mix;
    }

    advanceSilentStations (reception.index, bleeds, numSamples);
}

ScannerProcessor::BleedList ScannerProcessor::findBleedingStations (float dial, StationReception reception) noexcept
{
    BleedList bleeds;

    if (reception.strength < bleedBelowStrength)
        for (int k = 0; k < numStations; ++k)
            if (float gain; stationBleedGain (dial, k, gain))
                bleeds.add ({ k, gain });

    return bleeds;
}

float ScannerProcessor::finiteOrSilence (float sample) noexcept
{
    return std::isfinite (sample) ? sample : 0.0f;
}

float ScannerProcessor::saturate (float held) noexcept
{
    return std::tanh (held * saturationDrive) * outputLevel;
}

float ScannerProcessor::findDialInUse (const BlockSettings& settings, int numSamples) noexcept
{
    if (! settings.autoScanOn)
    {
        scanPosition = settings.dial;
        return settings.dial;
    }

    updateAutoScan (numSamples);
    return scanPosition;
}

void ScannerProcessor::publishReadouts (float dial, StationReception reception) noexcept
{
    currentDial.store (dial);
    currentStation.store (reception.index);
    signalStrength.store (reception.strength);
}

void ScannerProcessor::configureFilter (float dial, float signalFraction) noexcept
{
    tuningFilter.setCutoffFrequency (dial * cutoffSpanHz + lowestCutoffHz);
    tuningFilter.setResonance ((1.0f - signalFraction) * 8.0f + 2.0f);
}

float ScannerProcessor::filterInput (float mono) noexcept
{
    const auto filtered = tuningFilter.processSample (0, mono);

    // A non-finite input would otherwise stay in the filter's state until the host
    // prepares again, and every later block would come out as NaN.
    if (! std::isfinite (filtered))
        tuningFilter.reset();

    return filtered;
}

float ScannerProcessor::tuneStation (StationReception reception, float filtered) noexcept
{
    if (reception.index < 0 || reception.strength <= audibleStrength)
        return 0.0f;

    const auto recording = stations[(size_t) reception.index].nextSample();
    return filtered * tunedInputGain + recording * recordingGain;
}

void ScannerProcessor::advanceSilentStations (int receivedIndex, const BleedList& bleeds, int numSamples) noexcept
{
    for (int k = 0; k < numStations; ++k)
    {
        const auto bleeding = std::any_of (bleeds.begin(), bleeds.end(), [k] (const Bleed& b) { return b.station == k; });

        if (k != receivedIndex && ! bleeding)
            stations[(size_t) k].advanceBy (numSamples);
    }
}

bool ScannerProcessor::holdLofi (float value, int holdLength) noexcept
{
    if (++lofiHoldCounter < holdLength)
        return false;

    lofiHoldCounter = 0;

    // A non-finite value would be held into later blocks.
    if (! std::isfinite (value))
        return false;

    lofiHoldValue = value;
    return true;
}

float ScannerProcessor::generateStatic() noexcept
{
    const auto noise = random.nextFloat() * 2.0f - 1.0f;
    auto crackle = 0.0f;

    if (random.nextFloat() < crackleProbability)
        crackle = (random.nextFloat() * 2.0f - 1.0f) * crackleGain;

    return noise * noiseGain + crackle;
}

void ScannerProcessor::updateAutoScan (int numSamples) noexcept
{
    const auto rate = parameterRefs.scanRate.load();
    const auto step = rate / percent * fullScanSpeed / (float) currentSampleRate * (float) numSamples;

    if (isDwelling)
    {
        dwellSamplesRemaining -= numSamples;

        if (dwellSamplesRemaining <= 0)
            isDwelling = false;

        return;
    }

    scanPosition = step * scanDirection + scanPosition;

    for (int k = 0; k < numStations; ++k)
    {
        if (getStationStrength (scanPosition, k) > lockStrength && ! isDwelling)
        {
            isDwelling = true;
            const auto r = random.nextFloat();
            // A pause of 1 to just under 4 seconds.
            dwellSamplesRemaining = truncateToSampleCount (((double) r * 3.0 + 1.0) * currentSampleRate);
            break;
        }
    }

    if (scanPosition >= 1.0f)
    {
        scanPosition = 1.0f;
        scanDirection = -1.0f;
    }

    if (scanPosition <= 0.0f)
    {
        scanPosition = 0.0f;
        scanDirection = 1.0f;
    }
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new ScannerProcessor();
}
