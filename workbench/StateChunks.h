#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** State chunks made by hand, as a host or a damaged project file could hand them back. */
class StateChunks
{
public:
    /** The framework's chunk layout ("VC2!", a length field, the text, a zero byte) with any length field. */
    static juce::MemoryBlock withLength (const juce::String& xmlText, juce::int32 lengthField);

    /** A well-framed chunk around any text. */
    static juce::MemoryBlock of (const juce::String& xmlText);

    /** The raw bytes given, framed as a chunk whose length field counts them all. */
    static juce::MemoryBlock ofBytes (const void* text, size_t numBytes);

    static juce::MemoryBlock saved (juce::AudioProcessor& processor);
    static void restore (juce::AudioProcessor& processor, const juce::MemoryBlock& block);
};
