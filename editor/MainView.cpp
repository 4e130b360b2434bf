#include "editor/MainView.h"

#include "editor/Artwork.h"

namespace
{
struct TransferButton
{
    const char* name;
    const char* artwork;
};

const TransferButton transferButtons[] = {
    {"Load From MIDI", "transfer_get"},
    {"Save To MIDI", "transfer_send"},
    {"Load From HD", "transfer_load"},
    {"Save To HD", "transfer_save"},
};

constexpr int buttonX = 5;
constexpr int buttonGap = 5;
constexpr int noteGap = 20;
constexpr int noteWidth = 600;
constexpr int lineWidth = 640;
} // namespace

MainView::MainView (juce::Button::Listener* controller)
{
    for (const auto& transfer : transferButtons)
    {
        auto* button = buttons.add (std::make_unique<juce::ImageButton> (juce::String()));
        addAndMakeVisible (button);

        if (controller != nullptr)
            button->addListener (controller);

        // Pressing shows the normal picture: these buttons have no pressed artwork.
        keepArtwork (*button,
                     [button, stem = juce::String (transfer.artwork)] (float scale)
                     {
                         const auto normal = loadArtworkAt (stem + "_normal", scale);
                         button->setImages (false, true, true, normal, 1.0f, juce::Colours::transparentBlack,
                                            loadArtworkAt (stem + "_hover", scale), 1.0f,
                                            juce::Colours::transparentBlack, normal, 1.0f,
                                            juce::Colours::transparentBlack);
                     });
        button->setName (transfer.name);
    }

    setSize (1200, 211);

    // Laid out by the pictures at scale 1; larger ones are drawn into the same bounds.
    const auto size =
        loadArtwork (juce::String (transferButtons[0].artwork) + "_normal").getBounds().getBottomRight();
    int y = 0;

    for (auto* button : buttons)
    {
        button->setBounds (buttonX, y, size.x, size.y);
        y = button->getBottom() + buttonGap;
    }

    // Level with "Send", the button it answers.
    const auto& send = *buttons[1];
    sentNote.setBounds (send.getRight() + noteGap, send.getY(), noteWidth, send.getHeight());
    addChildComponent (sentNote);

    // Level with "Get", as the note is with "Send"; Tab still goes down the four buttons first.
    const auto& get = *buttons[0];
    connectionLine.setBounds (get.getRight() + noteGap, get.getY(), lineWidth, get.getHeight());
    addAndMakeVisible (connectionLine);
    int order = 0;
    for (auto* button : buttons)
        button->setExplicitFocusOrder (++order);
    connectionLine.setExplicitFocusOrder (++order);
}

MainView::~MainView() = default;

bool MainView::keyPressed (const juce::KeyPress& key)
{
    const auto step = key == juce::KeyPress::downKey ? 1 : (key == juce::KeyPress::upKey ? -1 : 0);
    if (step == 0)
        return false;

    for (int index = 0; index < buttons.size(); ++index)
    {
        if (!buttons[index]->hasKeyboardFocus (false))
            continue;
        buttons[juce::jlimit (0, buttons.size() - 1, index + step)]->grabKeyboardFocus();
        return true;
    }
    return false;
}
