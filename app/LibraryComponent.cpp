#include "app/LibraryComponent.h"

namespace
{
constexpr int margin = 10;
constexpr int fieldHeight = 28;
constexpr int statusHeight = 24;
// Small enough, with its frame, for a user area of 1024x600.
constexpr int initialWidth = 860;
constexpr int initialHeight = 520;
const juce::Colour selectedRow (0xffcfe0f7);
const juce::Colour quietText (0xff555555);
const juce::Colour listGround (0xfff3f5f7);
const juce::Colour frame (0xffb8c0c8);
} // namespace

LibraryComponent::LibraryComponent()
{
    setLookAndFeel (&look);
    searchLabel.setColour (juce::Label::textColourId, juce::Colours::black);
    searchLabel.attachToComponent (&searchField, true);
    searchField.setColour (juce::TextEditor::backgroundColourId, juce::Colours::white);
    searchField.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    searchField.setColour (juce::TextEditor::outlineColourId, frame);
    searchField.setColour (juce::TextEditor::focusedOutlineColourId, frame);
    searchField.setColour (juce::CaretComponent::caretColourId, juce::Colours::black);
    searchField.setTitle ("Search");
    searchField.setTextToShowWhenEmpty ("Name words, or terms like Pad 1 Note=36", quietText);
    searchField.onTextChange = [this] { filter(); };
    searchField.addKeyListener (this);
    addAndMakeVisible (searchField);

    sendOnSelect.setColour (juce::ToggleButton::textColourId, juce::Colours::black);
    sendOnSelect.setColour (juce::ToggleButton::tickColourId, juce::Colours::black);
    sendOnSelect.setColour (juce::ToggleButton::tickDisabledColourId, juce::Colours::grey);
    sendOnSelect.setLookAndFeel (&checkBoxLook);
    addAndMakeVisible (sendOnSelect);

    list.setRowHeight (rowHeight);
    list.setTitle ("Presets");
    list.setColour (juce::ListBox::backgroundColourId, listGround);
    list.setColour (juce::ListBox::outlineColourId, frame);
    list.setOutlineThickness (1);
    list.addKeyListener (this);
    addAndMakeVisible (list);

    status.setColour (juce::Label::textColourId, juce::Colours::black);
    addAndMakeVisible (status);
    duplicateButton.onClick = [this] { duplicateSelected(); };
    renameButton.onClick = [this] { askToRename(); };
    trashButton.onClick = [this] { askToMoveToTrash(); };
    for (auto* button : {&duplicateButton, &renameButton, &trashButton})
        addAndMakeVisible (button);
    setSize (initialWidth, initialHeight);
}

LibraryComponent::~LibraryComponent()
{
    question.reset();
    sendOnSelect.setLookAndFeel (nullptr);
    searchField.removeKeyListener (this);
    list.removeKeyListener (this);
    setLookAndFeel (nullptr);
}

void LibraryComponent::setPresets (std::vector<LibraryPreset> newPresets)
{
    presets = std::move (newPresets);
    filter();
}

std::vector<const LibraryPreset*> LibraryComponent::shownPresets() const
{
    std::vector<const LibraryPreset*> result;
    result.reserve (shown.size());
    for (auto index : shown)
        result.push_back (&presets[index]);
    return result;
}

const LibraryPreset* LibraryComponent::selectedPreset() const
{
    const auto row = list.getSelectedRow();
    return juce::isPositiveAndBelow (row, static_cast<int> (shown.size())) ? &presets[shown[(size_t)row]]
                                                                           : nullptr;
}

void LibraryComponent::filter()
{
    // The presets are in memory: a keystroke costs one pass over them, never a read of the disk.
    const auto* selectedBefore = selectedPreset();
    const auto terms = SearchTerms::fromField (searchField.getText());
    shown.clear();
    int keep = -1;
    for (size_t index = 0; index < presets.size(); ++index)
    {
        if (!terms.isEmpty() && !terms.matches (presets[index]))
            continue;
        if (&presets[index] == selectedBefore)
            keep = static_cast<int> (shown.size());
        shown.push_back (index);
    }

    const juce::ScopedValueSetter<bool> quiet (refilling, true);
    list.updateContent();
    list.selectRow (keep >= 0 ? keep : 0);
    list.repaint();

    if (!terms.getStatus().wasOk())
        status.setText (terms.getStatus().getErrorMessage(), juce::dontSendNotification);
    else if (terms.isEmpty())
        status.setText (juce::String (presets.size()) + (presets.size() == 1 ? " preset" : " presets"),
                        juce::dontSendNotification);
    else
        status.setText (juce::String (shown.size()) + " of " + juce::String (presets.size()) + " match",
                        juce::dontSendNotification);
}

void LibraryComponent::selectFile (const juce::File& file)
{
    for (size_t row = 0; row < shown.size(); ++row)
        if (presets[shown[row]].file == file)
        {
            list.selectRow (static_cast<int> (row));
            return;
        }
}

void LibraryComponent::reselect (int row, const juce::File& file)
{
    const juce::ScopedValueSetter<bool> quiet (refilling, true);
    list.selectRow (row);
    selectFile (file);
}

void LibraryComponent::ask (std::unique_ptr<juce::AlertWindow> window,
                            std::function<void (const LibraryPreset&)> answered)
{
    const auto* preset = selectedPreset();
    if (preset == nullptr)
        return;
    question = std::move (window);
    question->setLookAndFeel (&look);
    // The preset is kept by value: the list may be read again before the answer comes.
    juce::Component::SafePointer<LibraryComponent> self (this);
    question->enterModalState (true,
                               juce::ModalCallbackFunction::create (
                                   [self, chosen = *preset, answered] (int button)
                                   {
                                       if (self == nullptr)
                                           return;
                                       if (button == 1)
                                           answered (chosen);
                                       self->question.reset();
                                       self->list.grabKeyboardFocus();
                                   }),
                               false);
}

void LibraryComponent::askToRename()
{
    const auto* preset = selectedPreset();
    if (preset == nullptr || onRename == nullptr)
        return;
    auto window = std::make_unique<juce::AlertWindow> (
        "Rename Preset", "The new name of \"" + preset->name + "\":", juce::MessageBoxIconType::NoIcon, this);
    window->addTextEditor ("name", preset->name);
    window->addButton ("Rename", 1, juce::KeyPress (juce::KeyPress::returnKey));
    window->addButton ("Cancel", 0, juce::KeyPress (juce::KeyPress::escapeKey));
    // Return and Escape choose; the name is the one part that takes keys, so that the keys are in
    // it however late the window system tells the dialog that it has them.
    for (auto* child : window->getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            button->setWantsKeyboardFocus (false);
    auto* field = window->getTextEditor ("name");
    field->setColour (juce::TextEditor::backgroundColourId, juce::Colours::white);
    field->setColour (juce::TextEditor::outlineColourId, frame);
    ask (std::move (window),
         [this, field] (const LibraryPreset& chosen)
         {
             if (onRename != nullptr)
                 onRename (chosen, field->getText());
         });
    // The name takes the keys, all of it selected, so that typing replaces it.
    if (question != nullptr)
    {
        field->grabKeyboardFocus();
        field->selectAll();
    }
}

void LibraryComponent::askToMoveToTrash()
{
    const auto* preset = selectedPreset();
    if (preset == nullptr || onMoveToTrash == nullptr)
        return;
    auto window =
        std::make_unique<juce::AlertWindow> ("Move to Trash", "Move \"" + preset->path() + "\" to the trash?",
                                             juce::MessageBoxIconType::QuestionIcon, this);
    window->addButton ("Move to Trash", 1, juce::KeyPress (juce::KeyPress::returnKey));
    window->addButton ("Cancel", 0, juce::KeyPress (juce::KeyPress::escapeKey));
    ask (std::move (window),
         [this] (const LibraryPreset& chosen)
         {
             if (onMoveToTrash != nullptr)
                 onMoveToTrash (chosen);
         });
}

void LibraryComponent::duplicateSelected()
{
    if (const auto* preset = selectedPreset(); preset != nullptr && onDuplicate != nullptr)
        onDuplicate (LibraryPreset (*preset));
}

void LibraryComponent::openSelected()
{
    if (const auto* preset = selectedPreset(); preset != nullptr && onOpen != nullptr)
        onOpen (preset->file);
}

bool LibraryComponent::keyPressed (const juce::KeyPress& key, juce::Component* origin)
{
    if (key == juce::KeyPress::escapeKey)
    {
        if (onCloseRequested != nullptr)
            onCloseRequested();
        return true;
    }
    // Handled here and not by the field, which would tell of Return only later, from the queue.
    if (origin == &searchField && key == juce::KeyPress::returnKey)
    {
        openSelected();
        return true;
    }
    if (key == juce::KeyPress ('d', juce::ModifierKeys::commandModifier, 0))
    {
        duplicateSelected();
        return true;
    }
    if (origin == &list && key == juce::KeyPress::F2Key)
    {
        askToRename();
        return true;
    }
    if (origin == &list && key == juce::KeyPress::deleteKey)
    {
        askToMoveToTrash();
        return true;
    }
    // From the field, Down goes into the list, onto the first match that the field preselected
    // (Return in the field opens that one too).
    if (origin == &searchField && key == juce::KeyPress::downKey && !shown.empty())
    {
        list.grabKeyboardFocus();
        if (list.getSelectedRow() < 0)
            list.selectRow (0);
        return true;
    }
    return false;
}

int LibraryComponent::getNumRows()
{
    return static_cast<int> (shown.size());
}

juce::String LibraryComponent::detailOf (const LibraryPreset& preset)
{
    if (!preset.isReadable())
        return "Unreadable: " + preset.unreadable;
    if (preset.sameAs.isNotEmpty())
        return "same as " + preset.sameAs + "  \u00b7  " + preset.summary;
    return preset.summary;
}

void LibraryComponent::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected)
{
    if (!juce::isPositiveAndBelow (row, static_cast<int> (shown.size())))
        return;
    const auto& preset = presets[shown[(size_t)row]];
    if (selected)
        g.fillAll (selectedRow);

    auto area = juce::Rectangle<int> (width, height).reduced (margin / 2, 2);
    auto top = area.removeFromTop (area.getHeight() / 2);
    const auto date = preset.modified.formatted ("%Y-%m-%d %H:%M");
    const auto dateWidth = 130;
    const auto groupWidth = juce::jmin (220, top.getWidth() / 3);

    g.setColour (quietText);
    g.setFont (juce::Font (14.0f));
    g.drawText (date, top.removeFromRight (dateWidth), juce::Justification::centredRight, false);
    g.drawText (preset.group, top.removeFromRight (groupWidth), juce::Justification::centredLeft, true);

    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (15.0f, juce::Font::bold));
    g.drawText (preset.name, top, juce::Justification::centredLeft, true);

    g.setColour (preset.isReadable() ? quietText : juce::Colours::darkred);
    g.setFont (juce::Font (14.0f));
    g.drawText (detailOf (preset), area, juce::Justification::centredLeft, true);
}

void LibraryComponent::returnKeyPressed (int)
{
    openSelected();
}

void LibraryComponent::selectedRowsChanged (int)
{
    if (refilling || !sendOnSelect.getToggleState() || onSendSelected == nullptr)
        return;
    if (const auto* preset = selectedPreset(); preset != nullptr && preset->isReadable())
        onSendSelected (*preset);
}

void LibraryComponent::listBoxItemDoubleClicked (int row, const juce::MouseEvent&)
{
    list.selectRow (row);
    openSelected();
}

void LibraryComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
}

void LibraryComponent::paintOverChildren (juce::Graphics& g)
{
    // Neither the field nor the list draws a ring of its own where the keys are.
    if (searchField.hasKeyboardFocus (true))
        CustomLook::drawFocusRing (g, searchField.getBounds().expanded (2));
    else if (list.hasKeyboardFocus (true))
        CustomLook::drawFocusRing (g, list.getBounds().reduced (1), listGround);
}

void LibraryComponent::resized()
{
    auto area = getLocalBounds().reduced (margin);
    auto top = area.removeFromTop (fieldHeight);
    top.removeFromLeft (70);
    sendOnSelect.setBounds (top.removeFromRight (140));
    top.removeFromRight (margin);
    searchField.setBounds (top);
    area.removeFromTop (margin);
    auto bottom = area.removeFromBottom (statusHeight);
    for (auto* button : {&trashButton, &renameButton, &duplicateButton})
    {
        button->setBounds (bottom.removeFromRight (button == &trashButton ? 130 : 100));
        bottom.removeFromRight (margin / 2);
    }
    status.setBounds (bottom);
    area.removeFromBottom (margin / 2);
    list.setBounds (area);
}
