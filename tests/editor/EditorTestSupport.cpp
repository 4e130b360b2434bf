#include "EditorTestSupport.h"

#include "editor/ZellControlView.h"

juce::StringArray rowTexts (const ZellControlView& view)
{
    juce::StringArray texts;
    for (auto* label : view.getRowLabels())
        texts.add (label->getText());
    return texts;
}
