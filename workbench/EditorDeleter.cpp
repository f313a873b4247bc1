#include "EditorDeleter.h"

void EditorDeleter::operator() (juce::AudioProcessorEditor* editor) const
{
    if (editor == nullptr)
        return;

    editor->processor.editorBeingDeleted (editor);
    delete editor;
}
