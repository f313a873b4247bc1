#include "processor/StateChunkSafety.h"

#include <cmath>

namespace
{
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

    /** True when a processing instruction ("<?...") stands anywhere but as the declaration at
        the very start. Ours never carry one, and the framework's parser loops forever on one
        followed by text inside an element (found by fuzzing: an empty one, then a digit). */
    bool hasStrayProcessingInstruction (const juce::uint8* text, int length)
    {
        for (int i = 1; i + 1 < length && text[i] != 0; ++i)
            if (text[i] == '<' && text[i + 1] == '?')
                return true;

        return false;
    }

    /** With several children of one id the store connects the last one. */
    juce::ValueTree lastChildWithId (const juce::ValueTree& tree, const juce::String& id)
    {
        for (int i = tree.getNumChildren(); --i >= 0;)
            if (tree.getChild (i).getProperty ("id").toString() == id)
                return tree.getChild (i);

        return {};
    }
} // namespace

bool StateChunkSafety::isSafeToParse (const void* data, int sizeInBytes)
{
    const auto range = textOfChunk (data, sizeInBytes);
    const auto* text = static_cast<const juce::uint8*> (data) + range.getStart();
    return isValidUtf8 (text, range.getLength()) && ! nestsTooDeeply (text, range.getLength(), deepestNestingAccepted)
           && ! hasStrayProcessingInstruction (text, range.getLength());
}

bool StateChunkSafety::hasDuplicateAttributes (const juce::XmlElement& element)
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

juce::ValueTree StateChunkSafety::completeRestoredState (const juce::ValueTree& restored, const juce::AudioProcessorValueTreeState& store)
{
    // The store would reset a parameter without a PARAM child to its default, never write
    // back a PARAM without a value, and keep a lower-case root in later saves: complete the
    // tree so that missing parameters keep their values and every save holds all of them.
    const juce::Identifier idKey ("id"), valueKey ("value");
    juce::ValueTree tree (store.state.getType());
    tree.copyPropertiesAndChildrenFrom (restored, nullptr);

    for (auto* parameter : store.processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);

        if (ranged == nullptr)
            continue;

        const auto& id = ranged->paramID;
        auto child = lastChildWithId (tree, id);

        if (! child.isValid())
        {
            child = juce::ValueTree ("PARAM");
            child.setProperty (idKey, id, nullptr);
            child.setProperty (valueKey, store.getRawParameterValue (id)->load(), nullptr);
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
