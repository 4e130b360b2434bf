#include "midi/DeviceManagerComponent.h"

#include "MarloArtwork.h"

namespace
{
constexpr int width = 360;
constexpr int height = 425;
constexpr float textHeight = 15.0f;
const juce::Rectangle<int> inputListBounds{15, 69, 327, 123};
const juce::Rectangle<int> outputListBounds{15, 240, 327, 123};
const juce::Rectangle<int> inputFrameBounds{15, 60, 327, 141};
const juce::Rectangle<int> outputFrameBounds{15, 228, 327, 141};
// The lightest of the list frame's dark ground, which the focus ring must stand out from.
constexpr juce::uint32 listGround = 0xff2a2f37;
/** Where the picture is cut to make room for the check box: below the lists, above the buttons. */
constexpr int pictureCut = 374;
constexpr int rememberBoxHeight = 28;
constexpr int lineHeight = 18;
/** Above the input list, level with its title, right-aligned with the lists. */
const juce::Rectangle<int> findButtonBounds{222, 35, 120, 22};
} // namespace

DeviceManagerComponent::DeviceManagerComponent (juce::ActionListener* listener, DeviceListModel* inputs,
                                                DeviceListModel* outputs)
    : inputModel (inputs), outputModel (outputs)
{
    background = juce::ImageCache::getFromMemory (MarloArt::device_setup_background_png,
                                                  MarloArt::device_setup_background_pngSize);
    listFrame = juce::ImageCache::getFromMemory (MarloArt::device_list_frame_png,
                                                 MarloArt::device_list_frame_pngSize);

    inputList.setModel (inputModel);
    outputList.setModel (outputModel);

    // Transparent, so that the frame picture painted behind the lists shows.
    inputList.setColour (juce::ListBox::backgroundColourId, juce::Colour (0x00ffffff));
    outputList.setColour (juce::ListBox::backgroundColourId, juce::Colour (0x00ffffff));

    okButton.addListener (this);
    applyButton.addListener (this);
    cancelButton.addListener (this);
    findButton.addListener (this);
    addActionListener (listener);

    addAndMakeVisible (okButton);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (applyButton);
    addAndMakeVisible (inputList);
    addAndMakeVisible (outputList);
    addAndMakeVisible (rememberBox);
    addAndMakeVisible (findButton);
    rememberBox.setLookAndFeel (&checkBoxLook);
    // Tab goes through the lists and buttons as before, then to the button above the lists.
    int order = 0;
    for (auto* child : std::initializer_list<juce::Component*>{
             &inputList, &outputList, &rememberBox, &okButton, &cancelButton, &applyButton, &findButton})
        child->setExplicitFocusOrder (++order);

    for (auto* child : getChildren())
        child->addKeyListener (this);

    setLookAndFeel (&look);
    setSize (width, height + extraHeight());
}

DeviceManagerComponent::~DeviceManagerComponent()
{
    for (auto* child : getChildren())
        child->removeKeyListener (this);
    rememberBox.setLookAndFeel (nullptr);
    setLookAndFeel (nullptr);
}

void DeviceManagerComponent::addInputDevice (const juce::String& name)
{
    inputModel->addDevice (name);
}

void DeviceManagerComponent::addOutputDevice (const juce::String& name)
{
    outputModel->addDevice (name);
}

void DeviceManagerComponent::updateLists()
{
    inputList.updateContent();
    outputList.updateContent();
}

void DeviceManagerComponent::setDevices (const juce::StringArray& inputs, const juce::StringArray& outputs)
{
    inputModel->setDevices (inputs);
    outputModel->setDevices (outputs);
    inputList.deselectAllRows();
    outputList.deselectAllRows();
    updateLists();
}

void DeviceManagerComponent::selectInputRow (int row)
{
    inputList.selectRow (row, false, true);
}

void DeviceManagerComponent::selectOutputRow (int row)
{
    outputList.selectRow (row, false, true);
}

int DeviceManagerComponent::getSelectedInputRow() const
{
    return inputList.getSelectedRow (0);
}

int DeviceManagerComponent::getSelectedOutputRow() const
{
    return outputList.getSelectedRow (0);
}

void DeviceManagerComponent::setRemembering (bool remember)
{
    rememberBox.setToggleState (remember, juce::dontSendNotification);
}

void DeviceManagerComponent::setNotConnected (const juce::StringArray& names)
{
    if (names == notConnected)
        return;
    notConnected = names;
    fitHeight();
    repaint();
}

void DeviceManagerComponent::setNotConnectedRoom (int lines)
{
    notConnectedRoom = juce::jmax (0, lines);
    fitHeight();
}

void DeviceManagerComponent::fitHeight()
{
    if (getHeight() == height + extraHeight())
        return;
    setSize (width, height + extraHeight());
    resized();
}

int DeviceManagerComponent::extraHeight() const
{
    return rememberBoxHeight + lineHeight * juce::jmax (notConnected.size(), notConnectedRoom);
}

void DeviceManagerComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
    // The picture above the cut stays where it was drawn for; the part below moves down by the
    // room the check box takes, and one row of it stretches to fill the gap.
    const auto extra = extraHeight();
    g.drawImage (background, 0, 0, width, pictureCut, 0, 0, width, pictureCut);
    g.drawImage (background, 0, pictureCut, width, extra, 0, pictureCut - 1, width, 1);
    g.drawImage (background, 0, pictureCut + extra, width, height - pictureCut, 0, pictureCut, width,
                 height - pictureCut);
    g.drawImage (listFrame, inputFrameBounds.toFloat());
    g.drawImage (listFrame, outputFrameBounds.toFloat());

    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (textHeight, juce::Font::plain));
    g.drawText ("INPUT", 25, 44, 41, 18, juce::Justification::centredLeft, true);
    g.drawText ("OUTPUT", 23, 216, 57, 11, juce::Justification::centredLeft, true);

    g.setFont (juce::Font (13.0f, juce::Font::plain));
    for (int i = 0; i < notConnected.size(); ++i)
        g.drawText ("Not connected: " + notConnected[i], 40, pictureCut + rememberBoxHeight + i * lineHeight,
                    width - 55, lineHeight, juce::Justification::centredLeft, true);
}

void DeviceManagerComponent::paintOverChildren (juce::Graphics& g)
{
    for (auto* list : {&inputList, &outputList})
        if (list->hasKeyboardFocus (true))
            // Inside the list, on its dark frame and white selected row alike: around it the
            // ring would cross the frame's edge, light on one side and dark on the other.
            CustomLook::drawFocusRing (g, list->getBounds().reduced (1), juce::Colour (listGround));
}

void DeviceManagerComponent::resized()
{
    inputList.setBounds (inputListBounds);
    outputList.setBounds (outputListBounds);
    const auto extra = extraHeight();
    rememberBox.setBounds (15, pictureCut + 2, width - 30, rememberBoxHeight - 4);
    okButton.setBounds (16, 381 + extra, 72, 32);
    applyButton.setBounds (248, 381 + extra, 88, 30);
    cancelButton.setBounds (120, 381 + extra, 88, 30);
    findButton.setBounds (findButtonBounds);
}

void DeviceManagerComponent::buttonClicked (juce::Button* button)
{
    // Messages are delivered later, in order, so "OK" applies the choice before the window goes.
    if (button == &okButton)
    {
        sendActionMessage ("UpdateMIDIDevices");
        sendActionMessage ("Close");
    }
    else if (button == &applyButton)
    {
        sendActionMessage ("UpdateMIDIDevices");
    }
    else if (button == &cancelButton)
    {
        sendActionMessage ("Close");
    }
    else if (button == &findButton)
    {
        sendActionMessage ("FindController");
    }
}

bool DeviceManagerComponent::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    return keyPressed (key);
}

bool DeviceManagerComponent::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey)
        buttonClicked (&okButton);
    else if (key == juce::KeyPress::escapeKey)
        buttonClicked (&cancelButton);
    else
        return false;
    return true;
}
