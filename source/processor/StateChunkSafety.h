#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** What stands between a state chunk a host hands back and the parameter store: checks that
    keep damaged or hostile chunks away from the framework's XML parser, and the completion of
    a restored tree so that the store keeps every parameter's value and every later save holds
    all of them. */
class StateChunkSafety
{
public:
    /** Our chunks nest two elements deep. The framework's XML parser recurses once per level,
        so a chunk nested thousands of levels deep would exhaust the host thread's stack. */
    static constexpr int deepestNestingAccepted = 64;

    /** Whether a host's chunk can go to the framework's XML parser without harm: its text is
        strict UTF-8, nests no deeper than deepestNestingAccepted, and holds no processing
        instruction but the declaration at its start. */
    static bool isSafeToParse (const void* data, int sizeInBytes);

    /** XML that names an attribute twice in one element is not well-formed; the framework
        parses it anyway and then disagrees with itself about which value counts. */
    static bool hasDuplicateAttributes (const juce::XmlElement& element);

    /** The restored tree as the store must receive it: of the store's own type, with a PARAM
        child holding the current value for every parameter that had none, and the default for
        every PARAM without a finite value. */
    static juce::ValueTree completeRestoredState (const juce::ValueTree& restored, const juce::AudioProcessorValueTreeState& store);
};
