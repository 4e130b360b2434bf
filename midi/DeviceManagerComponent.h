#pragma once

#include "editor/CheckBoxLook.h"
#include "editor/CustomLook.h"
#include "midi/DeviceListModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The content of the Device Setup window: the input and output lists over the background
    picture, the choice to open them at start with the remembered devices that are not connected,
    and the "OK", "Apply", "Cancel" and "Find Controller" buttons, which it reports as action
    messages.
    Return anywhere in it is "OK" (Space still presses a focused button), Escape is "Cancel". */
class DeviceManagerComponent final : public juce::Component,
                                     public juce::Button::Listener,
                                     public juce::ActionBroadcaster,
                                     public juce::KeyListener
{
public:
    /** None of the three is owned; they belong to the window. */
    DeviceManagerComponent (juce::ActionListener* listener, DeviceListModel* inputModel,
                            DeviceListModel* outputModel);
    ~DeviceManagerComponent() override;

    void addInputDevice (const juce::String& name);
    void addOutputDevice (const juce::String& name);
    void updateLists();
    /** Replaces the rows of both lists; the selections are the caller's to restore. */
    void setDevices (const juce::StringArray& inputs, const juce::StringArray& outputs);
    void selectInputRow (int row);
    void selectOutputRow (int row);
    int getSelectedInputRow() const;
    int getSelectedOutputRow() const;
    /** "Open these devices when the editor starts"; off by default. */
    void setRemembering (bool remember);
    bool isRemembering() const { return rememberBox.getToggleState(); }
    /** One "Not connected: <name>" line each; the window grows to hold them. */
    void setNotConnected (const juce::StringArray& names);
    /** Keeps room for this many lines whether they show or not, so that a remembered device that
        comes and goes only repaints the window: a resize costs the window system's round trips. */
    void setNotConnectedRoom (int lines);
    const juce::StringArray& getNotConnected() const noexcept { return notConnected; }

    juce::ListBox& getInputList() noexcept { return inputList; }
    juce::ListBox& getOutputList() noexcept { return outputList; }
    juce::Button& getOkButton() noexcept { return okButton; }
    juce::Button& getApplyButton() noexcept { return applyButton; }
    juce::Button& getCancelButton() noexcept { return cancelButton; }
    juce::Button& getRememberBox() noexcept { return rememberBox; }
    juce::Button& getFindButton() noexcept { return findButton; }

    void paint (juce::Graphics& g) override;
    /** The lists have no look-and-feel hook of their own for a focus ring; it is drawn over them. */
    void paintOverChildren (juce::Graphics& g) override;
    void focusOfChildComponentChanged (FocusChangeType) override { repaint(); }
    void resized() override;
    void buttonClicked (juce::Button* button) override;
    /** Heard before the lists and buttons themselves, which would take Return for their own. */
    bool keyPressed (const juce::KeyPress& key, juce::Component* origin) override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    /** What the check box and the lines under it add to the picture's height. */
    int extraHeight() const;
    void fitHeight();

    juce::TextButton okButton{"OK"};
    juce::TextButton applyButton{"Apply"};
    juce::TextButton cancelButton{"Cancel"};
    juce::TextButton findButton{"Find Controller"};
    juce::Image background;
    juce::Image listFrame;
    DeviceListModel* inputModel;
    DeviceListModel* outputModel;
    juce::ListBox inputList{"Input Devices"};
    juce::ListBox outputList{"Output Devices"};
    juce::ToggleButton rememberBox{"Open these devices when the editor starts"};
    juce::StringArray notConnected;
    int notConnectedRoom = 0;
    CustomLook look;
    CheckBoxLook checkBoxLook;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceManagerComponent)
};
