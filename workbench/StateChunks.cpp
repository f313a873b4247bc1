#include "StateChunks.h"

namespace
{
    constexpr int chunkMagic = 0x21324356; // "VC2!" read as a little-endian int

    juce::MemoryBlock frame (const void* text, size_t numBytes, juce::int32 lengthField)
    {
        juce::MemoryBlock block;
        juce::MemoryOutputStream out (block, false);
        out.writeInt (chunkMagic);
        out.writeInt (lengthField);
        out.write (text, numBytes);
        out.writeByte (0);
        out.flush();
        return block;
    }
} // namespace

juce::MemoryBlock StateChunks::withLength (const juce::String& xmlText, juce::int32 lengthField)
{
    return frame (xmlText.toRawUTF8(), xmlText.getNumBytesAsUTF8(), lengthField);
}

juce::MemoryBlock StateChunks::of (const juce::String& xmlText)
{
    return withLength (xmlText, (juce::int32) xmlText.getNumBytesAsUTF8());
}

juce::MemoryBlock StateChunks::ofBytes (const void* text, size_t numBytes)
{
    return frame (text, numBytes, (juce::int32) numBytes);
}

juce::MemoryBlock StateChunks::saved (juce::AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

void StateChunks::restore (juce::AudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), (int) block.getSize());
}
