#include "processor/ScannerProcessor.h"

#include "editor/ScannerEditor.h"

#include <BinaryData.h>

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
    // Station k plays the recording at entry k; the module lists them in another order.
    const std::array<std::pair<const char*, int>, numStations> recordings { {
        { BinaryData::station_creepy_wav, BinaryData::station_creepy_wavSize },
        { BinaryData::station_morse_wav, BinaryData::station_morse_wavSize },
        { BinaryData::station_voice_wav, BinaryData::station_voice_wavSize },
        { BinaryData::station_poacher_wav, BinaryData::station_poacher_wavSize },
        { BinaryData::station_gong_wav, BinaryData::station_gong_wavSize },
        { BinaryData::station_military_wav, BinaryData::station_military_wavSize },
    } };

    for (size_t k = 0; k < recordings.size(); ++k)
        stations[k].loadFromMemory (recordings[k].first, recordings[k].second, 44100.0);
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

namespace
{
    // Our chunks nest two elements deep. The framework's XML parser recurses once per level,
    // so a chunk nested thousands of levels deep would exhaust the host thread's stack.
    constexpr int deepestNestingAccepted = 64;

    /** The XML text a state chunk carries: what follows the 8-byte header, up to the length
        field or the end of the data, whichever comes first. Empty when there is none. */
    juce::Range<int> textOfChunk (const void* data, int sizeInBytes)
    {
        if (sizeInBytes <= 8)
            return {};

        const auto length = (int) juce::ByteOrder::littleEndianInt (static_cast<const char*> (data) + 4);
        return { 8, 8 + juce::jlimit (0, sizeInBytes - 8, length) };
    }

    /** Strict UTF-8 up to the first zero byte. The framework's parser reads past the end of
        its text on some malformed sequences, so such text never reaches it. */
    bool isValidUtf8 (const juce::uint8* text, int length)
    {
        for (int i = 0; i < length && text[i] != 0;)
        {
            const auto lead = text[i];
            const auto extra = lead < 0x80                   ? 0
                               : lead >= 0xC2 && lead < 0xE0 ? 1
                               : lead >= 0xE0 && lead < 0xF0 ? 2
                               : lead >= 0xF0 && lead < 0xF5 ? 3
                                                             : -1;
            if (extra < 0 || i + extra >= length)
                return false;

            for (int k = 1; k <= extra; ++k)
                if ((text[i + k] & 0xC0) != 0x80)
                    return false;

            i += extra + 1;
        }

        return true;
    }

    /** True when the text opens more than `limit` elements inside one another. Counts tags
        only; anything it misjudges the parser refuses anyway. */
    bool nestsTooDeeply (const juce::uint8* text, int length, int limit)
    {
        int depth = 0;

        for (int i = 0; i + 1 < length; ++i)
        {
            if (text[i] == '<')
            {
                const auto next = text[i + 1];

                if (next == '/')
                    --depth;
                else if (next != '?' && next != '!' && ++depth > limit)
                    return true;
            }
            else if (text[i] == '/' && text[i + 1] == '>')
            {
                --depth;
            }
        }

        return false;
    }

    /** XML that names an attribute twice in one element is not well-formed; the framework
        parses it anyway and then disagrees with itself about which value counts. */
    bool hasDuplicateAttributes (const juce::XmlElement& element)
    {
        juce::StringArray names;

        for (int i = 0; i < element.getNumAttributes(); ++i)
        {
            if (names.contains (element.getAttributeName (i)))
                return true;

            names.add (element.getAttributeName (i));
        }

        for (auto* child : element.getChildIterator())
            if (hasDuplicateAttributes (*child))
                return true;

        return false;
    }

    /** Whether a host's chunk can go to the framework's XML parser without harm. */
    bool isSafeToParse (const void* data, int sizeInBytes)
    {
        const auto range = textOfChunk (data, sizeInBytes);
        const auto* text = static_cast<const juce::uint8*> (data) + range.getStart();
        return isValidUtf8 (text, range.getLength()) && ! nestsTooDeeply (text, range.getLength(), deepestNestingAccepted);
    }
} // namespace

void ScannerProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr || ! isSafeToParse (data, sizeInBytes))
        return;

    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (parameters.state.getType().toString()) || hasDuplicateAttributes (*xml))
        return;

    parameters.replaceState (completeRestoredState (juce::ValueTree::fromXml (*xml)));
}

juce::ValueTree ScannerProcessor::completeRestoredState (const juce::ValueTree& restored) const
{
    // The store would reset a parameter without a PARAM child to its default, never write
    // back a PARAM without a value, and keep a lower-case root in later saves: complete the
    // tree so that missing parameters keep their values and every save holds all seven.
    const juce::Identifier idKey ("id"), valueKey ("value");
    juce::ValueTree tree (parameters.state.getType());
    tree.copyPropertiesAndChildrenFrom (restored, nullptr);

    for (auto* parameter : getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);

        if (ranged == nullptr)
            continue;

        const auto& id = ranged->paramID;
        juce::ValueTree child;

        // With several children of one id the store connects the last one.
        for (int i = tree.getNumChildren(); --i >= 0;)
            if (tree.getChild (i).getProperty (idKey).toString() == id)
            {
                child = tree.getChild (i);
                break;
            }

        if (! child.isValid())
        {
            child = juce::ValueTree ("PARAM");
            child.setProperty (idKey, id, nullptr);
            child.setProperty (valueKey, parameters.getRawParameterValue (id)->load(), nullptr);
            tree.appendChild (child, nullptr);
        }
        else if (! child.hasProperty (valueKey) || ! std::isfinite ((float) child.getProperty (valueKey)))
        {
            // A value that is no finite number counts as no value: the parameter's default.
            child.setProperty (valueKey, ranged->convertFrom0to1 (ranged->getDefaultValue()), nullptr);
        }
    }

    return tree;
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

float ScannerProcessor::readRawParameter (const char* parameterId) const noexcept
{
    return parameters.getRawParameterValue (parameterId)->load();
}

void ScannerProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    BlockSettings settings;
    settings.dial = readRawParameter (ParameterIds::dial);
    settings.staticAmt = readRawParameter (ParameterIds::staticAmt) / percent;
    settings.signal = readRawParameter (ParameterIds::signal) / percent;
    settings.lofi = readRawParameter (ParameterIds::lofi) / percent;
    settings.autoScanOn = readRawParameter (ParameterIds::autoScan) > 0.5f;
    settings.mix = readRawParameter (ParameterIds::mix) / percent;

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

        for (int channel = 0; channel < numChannels; ++channel)
            sum += channels[channel][i];

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
    const auto rate = readRawParameter (ParameterIds::scanRate);
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
