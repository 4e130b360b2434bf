#pragma once

#include "editor/ControlSelector.h"
#include "editor/EditorListener.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <map>

/** The content of a document window: the background, the clickable controller picture, the row of
    seven tabs and one page at a time below them. Fixed at 1200 x 700; children keep the bounds
    given at construction.
*/
class EditorComponent final : public juce::Component, public juce::Button::Listener
{
public:
    /** Which page each selector button opens; neither buttons nor pages are owned through it. */
    using ButtonViews = std::map<juce::Button*, juce::Component*>;

    /** Takes ownership of the selectors and of every page named in buttonViews. */
    EditorComponent (ButtonViews buttonViews, std::unique_ptr<ControlSelector> tabSelector,
                     std::unique_ptr<ControlSelector> pictureSelector);
    ~EditorComponent() override;

    /** Shows the page of a selector button and lights exactly the buttons that open it. */
    void showViewFor (juce::Button* button);

    /** Opens the page of the tab at index (tab order, from 0); false for no such tab. */
    bool showPage (int index);
    /** Where the keyboard work on a page starts: its first number box in Tab order, else its first
        control (the main page's first button); null for no such page. Makes the page's panels if
        they are not made yet. */
    juce::Component* getFirstControlOfPage (int index) const;
    /** Puts the keyboard focus on the first control of the page shown, so that typing edits it. */
    void focusShownPage();
    /** Steps the banks of the page shown, as its arrows do: +1 right, -1 left; the keyboard, if it
        was in the bank, goes on to the box with the same label in the panel at the same place (Pad 2's
        Note to Pad 6's), else to that panel's first number box. False when the page has no further
        bank that way. */
    bool stepBank (int direction);

    /** Makes the panels of every page now, as showing each page would: for whoever reaches into
        the boxes of pages not yet shown. */
    void makeAllPages();

    /** Commits whatever text is typed in a number box and not yet taken, by the box's own rules,
        so that what is saved or sent is what the screen shows. */
    void commitPendingEdits();

    void buttonClicked (juce::Button* button) override;
    void paint (juce::Graphics& g) override;
    void resized() override {}

    /** Paints the background as the editor shows it at a display scale, into a context of the
        window's size at that scale: the background picture stretched to 750 rows on purpose, so
        that its blue band starts just above the tab bar, over white. */
    static void paintShownBackground (juce::Graphics& g, const juce::Image& picture, float scale);

    /** Everything a new window shows behind its first page, painted the long way (every picture
        decoded, scaled and flattened as the components draw them) at scale 1, less the rows at the
        bottom that only repeat the last one. The artwork ships it as "editor_at_rest", from which
        a window then takes the background, the controller picture, its parts and the tabs as they
        first show, so that its first paint decodes one picture and all of them share its pixels. */
    static juce::Image paintAtRest();

    /** Takes what the window shows at rest from such a picture: every selector button keeps its
        other states. */
    void showAtRest (const juce::Image& atRest);

    /** The pages in the order their buttons were first met. */
    const juce::OwnedArray<juce::Component>& getViews() const noexcept { return views; }
    ControlSelector& getTabSelector() const noexcept { return *tabSelector; }
    ControlSelector& getPictureSelector() const noexcept { return *pictureSelector; }
    /** The page a selector button opens, or null. */
    juce::Component* getViewFor (juce::Button* button) const;

private:
    juce::Component* getPage (int index) const;
    bool focusIsInAPage() const;

    juce::OwnedArray<juce::Component> views;
    std::unique_ptr<ControlSelector> tabSelector;
    std::unique_ptr<ControlSelector> pictureSelector;
    ButtonViews buttonViews;
    juce::Image background;
    // Taken from the picture at rest: its last row goes on to the window's bottom.
    bool backgroundIsAtRest = false;
    juce::Image lastRowStrip;
    // A child, so that a tip scales with the window it belongs to.
    juce::TooltipWindow tooltips{this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditorComponent)
};

/** Builds the whole editor for one document; controller (not owned, may be null) listens to the
    transfer buttons and to every binding. The caller owns the result. With shippedAtRest false,
    every picture is made the long way even where the artwork ships the window at rest. */
std::unique_ptr<EditorComponent> createEditorComponent (EditorListener* controller,
                                                        bool shippedAtRest = true);
