#include "editor/EditorComponent.h"

#include "editor/Artwork.h"
#include "editor/MainView.h"
#include "editor/NumberBox.h"
#include "editor/SectionBuilders.h"
#include "editor/SelectorButtons.h"
#include "editor/ZellControlLayoutView.h"
#include "editor/ZellControlView.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace
{
constexpr int editorWidth = 1200;
constexpr int editorHeight = 700;
constexpr int tabBarY = 482;
constexpr int pageGap = 45;

// Picture button i opens this page; the main page and the sustain page have no picture part.
constexpr int pictureButtonPages[] = {1, 2, 3, 4, 4, 5};

/** Where the keyboard is in the bank shown: the place of its panel in the bank and the label of
    its row. */
struct PlaceInBank
{
    int panel;
    juce::String label;
};

ZellControlView* panelOfBank (const BankView& banks, int place)
{
    const auto* bank = banks.getBanks()[banks.getCurrentBank()];
    return bank != nullptr ? dynamic_cast<ZellControlView*> (bank->getControls()[place]) : nullptr;
}

std::optional<PlaceInBank> keyboardPlaceIn (const BankView& banks)
{
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    const auto* bank = banks.getBanks()[banks.getCurrentBank()];
    if (focused == nullptr || bank == nullptr)
        return std::nullopt;

    for (int place = 0; place < bank->getControls().size(); ++place)
    {
        auto* panel = panelOfBank (banks, place);
        if (panel == nullptr || !panel->isParentOf (focused))
            continue;

        const auto& widgets = panel->getShownWidgets();
        for (int row = 0; row < widgets.size(); ++row)
            if (widgets[row] == focused || widgets[row]->isParentOf (focused))
                return PlaceInBank{place, panel->getRowLabels()[row]->getText()};
        return PlaceInBank{place, {}};
    }
    return std::nullopt;
}

/** The box with the same label in the panel at the same place of the bank shown, else that panel's
    first number box (its first row without one); the last panel stands in for a place the bank
    does not have. */
juce::Component* boxAtPlace (const BankView& banks, const PlaceInBank& place)
{
    const auto* bank = banks.getBanks()[banks.getCurrentBank()];
    if (bank == nullptr || bank->getControls().isEmpty())
        return nullptr;

    auto* panel = panelOfBank (banks, juce::jmin (place.panel, bank->getControls().size() - 1));
    if (panel == nullptr || panel->getShownWidgets().isEmpty())
        return nullptr;

    const auto& widgets = panel->getShownWidgets();
    if (auto* same = panel->getWidget (place.label); same != nullptr && widgets.contains (same))
        return same;

    const auto firstBox =
        std::find_if (widgets.begin(), widgets.end(),
                      [] (juce::Component* widget) { return dynamic_cast<NumberBox*> (widget) != nullptr; });
    return firstBox != widgets.end() ? *firstBox : widgets.getFirst();
}

/** The background as the editor shows it at a scale, made once for all documents. */
juce::Image shownBackground (float scale)
{
    return renderArtwork ("editor background x" + juce::String (scale), juce::Image::RGB,
                          juce::roundToInt (editorWidth * scale), juce::roundToInt (editorHeight * scale),
                          [scale] (juce::Graphics& g) {
                              EditorComponent::paintShownBackground (
                                  g, decodeArtwork (artworkStemAt ("background", scale)), scale);
                          });
}

/** The last row of the picture at rest repeated over 16 rows, shared by every document. */
juce::Image stripOfLastRow (const juce::Image& atRest)
{
    return renderArtwork (
        "editor at rest last row", atRest.getFormat(), atRest.getWidth(), 16,
        [atRest] (juce::Graphics& g)
        {
            const auto lastRow = atRest.getClippedImage ({0, atRest.getHeight() - 1, atRest.getWidth(), 1});

            for (int y = 0; y < 16; ++y)
                g.drawImageAt (lastRow, 0, y);
        });
}

/** The window at rest as the artwork ships it, or a null image where it does not fit: at a display
    scale other than 1, or a picture of another width or taller than the window. */
juce::Image shippedPictureAtRest()
{
    const auto shipped = loadArtwork ("editor_at_rest");

    if (artworkScale() != 1.0f || shipped.getWidth() != editorWidth || shipped.getHeight() > editorHeight ||
        shipped.getFormat() != juce::Image::RGB)
        return {};

    return shipped;
}
} // namespace

EditorComponent::EditorComponent (ButtonViews newButtonViews, std::unique_ptr<ControlSelector> newTabSelector,
                                  std::unique_ptr<ControlSelector> newPictureSelector)
    : tabSelector (std::move (newTabSelector)), pictureSelector (std::move (newPictureSelector)),
      buttonViews (std::move (newButtonViews))
{
    keepArtwork (*this,
                 [this] (float scale)
                 {
                     background = shownBackground (scale);
                     backgroundIsAtRest = false;
                     lastRowStrip = {};
                     repaint();
                 });

    setSize (editorWidth, editorHeight);
    setOpaque (true);

    for (const auto& [button, view] : buttonViews)
    {
        if (!views.contains (view))
            views.add (view);

        addChildComponent (view);
    }

    // 26 rather than the centred 24: the picture sits slightly right of the window's middle.
    pictureSelector->setTopLeftPosition (26, 65);
    pictureSelector->setWantsKeyboardFocus (false);
    addAndMakeVisible (*pictureSelector);

    tabSelector->setWantsKeyboardFocus (false);
    tabSelector->setBounds (0, tabBarY, editorWidth, 40);

    // Tab reaches the tabs and Return opens their page; a click still leaves the focus where it
    // was, as before.
    for (auto* tab : tabSelector->getButtons())
    {
        tab->setWantsKeyboardFocus (true);
        tab->setMouseClickGrabsKeyboardFocus (false);
    }

    for (auto* view : views)
        view->setTopLeftPosition ((editorWidth - view->getWidth()) / 2, tabBarY + pageGap);

    for (const auto& entry : buttonViews)
        if (entry.first->getName() == "Main Window Button")
            showViewFor (entry.first);

    addAndMakeVisible (*tabSelector);
}

void EditorComponent::paintShownBackground (juce::Graphics& g, const juce::Image& picture, float scale)
{
    g.addTransform (juce::AffineTransform::scale (scale));
    g.fillAll (juce::Colours::white);
    g.setColour (juce::Colours::black);
    g.drawImage (picture, 0, 0, editorWidth, 750, 0, 0, picture.getWidth(), picture.getHeight(), false);
}

EditorComponent::~EditorComponent()
{
    views.clear();
    tabSelector.reset();
    pictureSelector.reset();
}

void EditorComponent::showViewFor (juce::Button* button)
{
    // Hiding the page that holds the focus hands it to the first tab; the keyboard user who was
    // working on a page goes on working on the one that replaces it.
    const auto focusWasInAPage = focusIsInAPage();

    for (const auto& entry : buttonViews)
        entry.second->setVisible (false);

    for (const auto& entry : buttonViews)
        if (entry.first == button)
            entry.second->setVisible (true);

    for (const auto& entry : buttonViews)
        entry.first->setToggleState (entry.second->isVisible(), juce::dontSendNotification);

    if (focusWasInAPage && !focusIsInAPage())
        focusShownPage();
}

bool EditorComponent::focusIsInAPage() const
{
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    return focused != nullptr && std::any_of (views.begin(), views.end(),
                                              [focused] (juce::Component* view)
                                              { return view->isVisible() && view->isParentOf (focused); });
}

void EditorComponent::buttonClicked (juce::Button* button)
{
    showViewFor (button);
}

void EditorComponent::paint (juce::Graphics& g)
{
    // Opaque, so the picture is copied as it is.
    g.setColour (juce::Colours::black);

    if (!backgroundIsAtRest)
    {
        g.drawImage (background, getLocalBounds().toFloat());
        return;
    }

    g.drawImageAt (background, 0, 0);

    // The picture's last row goes on down to the window's bottom, copied from a strip of a few
    // such rows: a copy is cheaper than a fill of the same pixels, and the strip is small.
    for (auto y = background.getHeight(); y < getHeight(); y += lastRowStrip.getHeight())
        g.drawImageAt (lastRowStrip, 0, y);
}

juce::Image EditorComponent::paintAtRest()
{
    const auto editor = createEditorComponent (nullptr, false);

    for (auto* view : editor->views)
        view->setVisible (false);

    juce::Image painted (juce::Image::RGB, editorWidth, editorHeight, true, juce::SoftwareImageType());
    {
        juce::Graphics g (painted);
        editor->paintEntireComponent (g, true);
    }

    const juce::Image::BitmapData pixels (painted, juce::Image::BitmapData::readOnly);
    const auto repeatsRowAbove = [&pixels] (int y)
    {
        return std::memcmp (pixels.getLinePointer (y), pixels.getLinePointer (y - 1),
                            static_cast<size_t> (pixels.width * pixels.pixelStride)) == 0;
    };

    auto rows = editorHeight;

    while (rows > 1 && repeatsRowAbove (rows - 1))
        --rows;

    return painted.getClippedImage ({editorWidth, rows}).createCopy();
}

void EditorComponent::showAtRest (const juce::Image& atRest)
{
    background = atRest;
    backgroundIsAtRest = true;
    lastRowStrip = stripOfLastRow (atRest);

    const auto partOf = [this, &atRest] (juce::Component& component)
    { return atRest.getClippedImage (getLocalArea (&component, component.getLocalBounds())); };

    pictureSelector->setBackgroundImage (partOf (*pictureSelector));

    for (auto* selector : {tabSelector.get(), pictureSelector.get()})
    {
        for (auto* child : selector->getButtons())
        {
            auto* button = dynamic_cast<juce::ImageButton*> (child);
            if (button == nullptr)
                continue;

            // A lit tab shows its pressed picture; everything else shows its picture at rest.
            const auto lit = button->getToggleState();
            const auto shown = partOf (*button);
            button->setImages (false, true, true, lit ? button->getNormalImage() : shown, 1.0f,
                               juce::Colours::transparentBlack, button->getOverImage(), 1.0f,
                               juce::Colours::transparentBlack, lit ? shown : button->getDownImage(), 1.0f,
                               juce::Colours::transparentBlack);
        }
    }
}

bool EditorComponent::showPage (int index)
{
    auto* tab = dynamic_cast<juce::Button*> (tabSelector->getButtons()[index]);
    if (tab == nullptr)
        return false;
    showViewFor (tab);
    return true;
}

juce::Component* EditorComponent::getPage (int index) const
{
    return getViewFor (dynamic_cast<juce::Button*> (tabSelector->getButtons()[index]));
}

void EditorComponent::makeAllPages()
{
    for (auto* view : views)
        if (auto* page = dynamic_cast<ZellControlLayoutView*> (view))
            page->makeContents();
}

juce::Component* EditorComponent::getFirstControlOfPage (int index) const
{
    auto* page = getPage (index);
    if (page == nullptr)
        return nullptr;

    if (auto* sectionPage = dynamic_cast<ZellControlLayoutView*> (page))
        sectionPage->makeContents();

    const auto controls = page->createKeyboardFocusTraverser()->getAllComponents (page);
    const auto firstBox = std::find_if (controls.begin(), controls.end(),
                                        [] (juce::Component* control)
                                        { return dynamic_cast<NumberBox*> (control) != nullptr; });

    if (firstBox != controls.end())
        return *firstBox;
    return controls.empty() ? nullptr : controls.front();
}

void EditorComponent::focusShownPage()
{
    for (int index = 0; index < tabSelector->getButtons().size(); ++index)
        if (auto* page = getPage (index); page != nullptr && page->isVisible())
            if (auto* first = getFirstControlOfPage (index))
                first->grabKeyboardFocus();
}

bool EditorComponent::stepBank (int direction)
{
    for (auto* view : views)
    {
        auto* page = dynamic_cast<ZellControlLayoutView*> (view);
        if (page == nullptr || !page->isVisible())
            continue;
        auto& banks = page->getBankView();
        auto* arrow = direction > 0 ? banks.getNextButton() : banks.getPreviousButton();
        const auto before = banks.getCurrentBank();
        // Hiding the bank that holds the keyboard hands it to the first tab; it goes on to the same
        // box of the panel at the same place in the bank now shown.
        const auto place = keyboardPlaceIn (banks);
        if (arrow != nullptr)
            banks.buttonClicked (arrow);

        const auto stepped = banks.getCurrentBank() != before;
        if (auto* box = stepped && place.has_value() ? boxAtPlace (banks, *place) : nullptr)
            box->grabKeyboardFocus();
        return stepped;
    }
    return false;
}

juce::Component* EditorComponent::getViewFor (juce::Button* button) const
{
    const auto found = buttonViews.find (button);
    return found == buttonViews.end() ? nullptr : found->second;
}

std::unique_ptr<EditorComponent> createEditorComponent (EditorListener* controller, bool shippedAtRest)
{
    ParameterValue::Listener* listener = controller;

    juce::Array<juce::Component*> pages;
    pages.add (new MainView (controller));
    pages.add (createKnobsView (4, listener).release());
    pages.add (createSwitchesView (4, listener).release());
    pages.add (createPadsView (8, listener).release());
    pages.add (createKeybedView (listener).release());
    pages.add (createWheelsView (listener).release());
    pages.add (createSustainView (listener).release());

    const auto tabs = createTabButtons();
    const auto pictureButtons = createPictureButtons();

    auto tabSelector = std::make_unique<ControlSelector> (tabs, 0);
    auto pictureSelector = std::make_unique<ControlSelector> (pictureButtons, 1);

    const auto picture = loadArtwork ("controller");
    pictureSelector->setSize (picture.getWidth(), picture.getHeight());
    keepArtwork (*pictureSelector, [selector = pictureSelector.get()] (float scale)
                 { selector->setBackgroundImage (shownControllerPicture (scale)); });

    EditorComponent::ButtonViews buttonViews;

    for (int i = 0; i < tabs.size(); ++i)
        buttonViews[tabs.getUnchecked (i)] = pages[i];

    for (int i = 0; i < pictureButtons.size(); ++i)
        buttonViews[pictureButtons.getUnchecked (i)] = pages[pictureButtonPages[i]];

    auto editor = std::make_unique<EditorComponent> (std::move (buttonViews), std::move (tabSelector),
                                                     std::move (pictureSelector));

    for (auto* button : tabs)
        button->addListener (editor.get());

    for (auto* button : pictureButtons)
        button->addListener (editor.get());

    if (shippedAtRest)
        if (const auto atRest = shippedPictureAtRest(); atRest.isValid())
            editor->showAtRest (atRest);

    return editor;
}

void EditorComponent::commitPendingEdits()
{
    // Only a box that still has focus can hold typed text, but a dialog or another window may have
    // taken the focus without the box noticing; every box is asked.
    std::function<void (juce::Component&)> commitIn = [&commitIn] (juce::Component& parent)
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* box = dynamic_cast<NumberBox*> (child))
                box->commitPendingText();
            else
                commitIn (*child);
        }
    };
    commitIn (*this);
}
