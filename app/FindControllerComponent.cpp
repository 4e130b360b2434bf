#include "app/FindControllerComponent.h"

namespace
{
const juce::Colour listGround (0xfff3f5f7);
const juce::Colour selectedRow (0xff1c7fd0);
} // namespace

FindControllerComponent::FindControllerComponent (MidiManager& midiManager,
                                                  std::unique_ptr<TransferTimer> timer)
    : finder (midiManager, std::move (timer))
{
    finder.onProgress = [this] (int done, int total, const juce::String& output)
    {
        progress = total > 0 ? static_cast<double> (done) / total : 1.0;
        status.setText ("Asking on " + output + " (" + juce::String (done + 1) + " of " +
                            juce::String (total) + ")",
                        juce::dontSendNotification);
    };
    finder.onFinished = [this] (const std::vector<ControllerFinder::Pair>& pairs) { showFound (pairs); };

    status.setText ("Looking for the controller", juce::dontSendNotification);
    list.setModel (this);
    openButton.setEnabled (false);
    openButton.onClick = [this] { openSelected(); };
    cancelButton.onClick = [this] { close(); };

    for (auto* child :
         std::initializer_list<juce::Component*>{&status, &progressBar, &list, &openButton, &cancelButton})
        addAndMakeVisible (child);
    status.setColour (juce::Label::textColourId, juce::Colours::black);
    list.setColour (juce::ListBox::backgroundColourId, listGround);
    list.setColour (juce::ListBox::outlineColourId, juce::Colour (0xffb8c0c8));
    list.setOutlineThickness (1);
    setWantsKeyboardFocus (true);
    setLookAndFeel (&look);
    setSize (width, height);
}

FindControllerComponent::~FindControllerComponent()
{
    finder.cancel();
    list.setModel (nullptr);
    setLookAndFeel (nullptr);
}

void FindControllerComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
}

void FindControllerComponent::paintOverChildren (juce::Graphics& g)
{
    if (list.hasKeyboardFocus (true))
        CustomLook::drawFocusRing (g, list.getBounds().reduced (1), listGround);
}

void FindControllerComponent::start()
{
    finder.start();
}

void FindControllerComponent::resized()
{
    auto area = getLocalBounds().reduced (12);
    status.setBounds (area.removeFromTop (24));
    area.removeFromTop (4);
    progressBar.setBounds (area.removeFromTop (18));
    area.removeFromTop (8);
    auto buttons = area.removeFromBottom (30);
    area.removeFromBottom (8);
    list.setBounds (area);
    cancelButton.setBounds (buttons.removeFromRight (88));
    buttons.removeFromRight (12);
    openButton.setBounds (buttons.removeFromRight (88));
}

bool FindControllerComponent::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey)
        openSelected();
    else if (key == juce::KeyPress::escapeKey)
        close();
    else
        return false;
    return true;
}

void FindControllerComponent::paintListBoxItem (int row, juce::Graphics& g, int w, int h, bool selected)
{
    if (!juce::isPositiveAndBelow (row, static_cast<int> (found.size())))
        return;
    if (selected)
        g.fillAll (selectedRow);
    g.setColour (selected ? juce::Colours::white : juce::Colours::black);
    const auto& pair = found[static_cast<size_t> (row)];
    g.drawText ("In: " + pair.input + "    Out: " + pair.output, 6, 0, w - 12, h,
                juce::Justification::centredLeft, true);
}

void FindControllerComponent::selectedRowsChanged (int)
{
    openButton.setEnabled (list.getSelectedRow() >= 0);
}

void FindControllerComponent::showFound (const std::vector<ControllerFinder::Pair>& pairs)
{
    found = pairs;
    progress = 1.0;
    // The bar's stripes would look like a search still going on.
    progressBar.setVisible (false);
    if (found.empty())
        status.setText ("No controller answered. Check its cable and that it is on.",
                        juce::dontSendNotification);
    else if (found.size() == 1)
        status.setText ("Found the controller", juce::dontSendNotification);
    else
        status.setText ("Found " + juce::String (static_cast<int> (found.size())) +
                            " controllers: choose one",
                        juce::dontSendNotification);
    // The window's title says it too, where window lists and scripts see it.
    if (auto* window = getTopLevelComponent(); window != this)
        window->setName ("Find Controller: " +
                         (found.empty() ? juce::String ("none found")
                                        : juce::String (static_cast<int> (found.size())) + " found"));
    list.updateContent();
    if (!found.empty())
        list.selectRow (0);
    list.grabKeyboardFocus();
}

void FindControllerComponent::openSelected()
{
    const auto row = list.getSelectedRow();
    if (finder.isRunning() || !juce::isPositiveAndBelow (row, static_cast<int> (found.size())))
        return;
    const auto chosen = found[static_cast<size_t> (row)];
    if (onChosen != nullptr)
        onChosen (chosen);
    close();
}

void FindControllerComponent::close()
{
    finder.cancel();
    if (onDone != nullptr)
        onDone();
}
