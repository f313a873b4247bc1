#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** Deletes an editor as every host's wrapper does: it tells the editor's processor first, so
    that the processor never hands the deleted editor out again. (JUCE 7 kept the processor's
    active editor in a self-clearing pointer; JUCE 8 keeps a plain one.) */
struct EditorDeleter
{
    void operator() (juce::AudioProcessorEditor* editor) const;
};

/** An editor from createEditorIfNeeded, deleted the way a host deletes it. */
using OwnedEditor = std::unique_ptr<juce::AudioProcessorEditor, EditorDeleter>;
