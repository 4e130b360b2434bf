#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The editor's flat drawing style: white rounded buttons with a black outline, white combo boxes
    with a small arrow, frameless text editors, plain labels and blue pop-up menus with white text,
    a tick before a ticked item and an arrow after one that opens a sub-menu.
    Everything else is drawn as LookAndFeel_V3 draws it. It has no state; each owner keeps its own.
*/
class CustomLook : public juce::LookAndFeel_V3
{
public:
    CustomLook();
    ~CustomLook() override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOverButton,
                           bool isButtonDown) override;
    void fillTextEditorBackground (juce::Graphics& g, int width, int height,
                                   juce::TextEditor& editor) override;
    void drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;
    void drawPopupMenuBackground (juce::Graphics& g, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
                            bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                            const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;
    /** Measured in the font the item is drawn in, with room for the tick column: the framework
        measures in a font sized to the row, which in a combo box's list is smaller than the one
        drawn, and the name was cut short. */
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;
    void drawMenuBarItem (juce::Graphics& g, int width, int height, int itemIndex,
                          const juce::String& itemText, bool isMouseOverItem, bool isMenuOpen,
                          bool isMouseOverBar, juce::MenuBarComponent& menuBar) override;
    void drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, juce::ComboBox& box) override;
    void drawLabel (juce::Graphics& g, juce::Label& label) override;
    /** Further in than usual, so the label leaves the focus ring showing. */
    void positionComboBoxText (juce::ComboBox& box, juce::Label& label) override;
    void drawImageButton (juce::Graphics& g, juce::Image* image, int imageX, int imageY, int imageW,
                          int imageH, const juce::Colour& overlayColour, float imageOpacity,
                          juce::ImageButton& button) override;

    /** The ring a control with keyboard focus shows, one pixel inside its edge, in the colour that
        stands out from what lies behind it (the control's own fill). */
    static void drawFocusRing (juce::Graphics& g, juce::Rectangle<int> bounds,
                               juce::Colour behind = juce::Colours::white);

    /** The accent where it stands out from the colour behind by the contrast a ring needs, else
        white, else black. */
    static juce::Colour focusRingColourOn (juce::Colour behind);

    /** The contrast ratio of two opaque colours as the accessibility guidelines define it, from 1
        (the same) to 21 (black on white). */
    static double contrastRatio (juce::Colour first, juce::Colour second);

    /** The least contrast a focus ring has against what lies behind it. */
    static constexpr double ringContrast = 3.0;
    /** The editor's one accent colour. */
    static constexpr juce::uint32 accentColour = 0xff117fc6;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CustomLook)
};
