#pragma once

#include "editor/ComboBoxParameterValue.h"
#include "editor/EditorComponent.h"
#include "editor/NumberBoxParameterValue.h"
#include "editor/ParameterValue.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <stdexcept>
#include <vector>

/** Records every parameterValueChanged call with the value the binding held at that moment. */
struct RecordingListener final : public ParameterValue::Listener
{
    struct Call
    {
        juce::String name;
        double value;
    };

    void parameterValueChanged (ParameterValue* value) override
    {
        calls.push_back ({value->getParameterName(), value->getValue()});
    }

    int countFor (const juce::String& name) const
    {
        int count = 0;
        for (const auto& call : calls)
            count += call.name == name ? 1 : 0;
        return count;
    }

    std::vector<Call> calls;
};

/** The editor with the panels of every page made, as if each page had been shown once, for tests
    that reach into the boxes of any page. */
inline std::unique_ptr<EditorComponent> everyPageMade (std::unique_ptr<EditorComponent> editor)
{
    editor->makeAllPages();
    return editor;
}

/** The first component named `name` anywhere under `root` (depth first), or null. */
inline juce::Component* findByName (juce::Component& root, const juce::String& name)
{
    for (auto* child : root.getChildren())
    {
        if (child->getName() == name)
            return child;
        if (auto* found = findByName (*child, name))
            return found;
    }
    return nullptr;
}

template <typename Type> Type* findAs (juce::Component& root, const juce::String& name)
{
    return dynamic_cast<Type*> (findByName (root, name));
}

/** The number box of `name` on page `page` (tab order), the page opened first as a user opens it
    before typing. Throws where the page has no such box. */
inline NumberBox& boxOnPage (EditorComponent& editor, int page, const juce::String& name)
{
    editor.showPage (page);
    if (auto* box = findAs<NumberBox> (editor, name))
        return *box;
    throw std::runtime_error ("no box " + name.toStdString());
}

/** Types text as a user would (the input filter applies) and presses Return. */
inline void typeAndCommit (NumberBox& box, const juce::String& text)
{
    box.setText ({}, false);
    box.insertTextAtCaret (text);
    box.textEditorReturnKeyPressed (box);
}

/** The row labels' texts of a panel, top to bottom. */
juce::StringArray rowTexts (const class ZellControlView& view);
