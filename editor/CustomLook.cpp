#include "editor/CustomLook.h"

#include <algorithm>
#include <cmath>

namespace
{
// Room right of a shortcut.
constexpr int shortcutMargin = 8;
/** The font a menu item's name is drawn in (the framework's default). */
juce::Font menuItemFont()
{
    return juce::Font();
}

// How far a menu item's tick and sub-menu arrow keep from the edges of their square, in rows.
constexpr float tickInset = 0.25f;
constexpr float arrowInset = 0.32f;
constexpr float ringThickness = 2.0f;
// Past the pictures' own outlines (the transfer buttons' sits up to 2 pixels in), on whole pixels
// and rounded like their corners.
constexpr float pictureRingInset = 4.0f;
constexpr float pictureRingCorner = 4.0f;
constexpr float buttonRingInset = 3.0f;
} // namespace

CustomLook::CustomLook() = default;

CustomLook::~CustomLook() = default;

void CustomLook::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                       bool isMouseOverButton, bool isButtonDown)
{
    const auto fill = isButtonDown ? 0xffd3d3d3 : (isMouseOverButton ? 0xffffffff : 0xfff5f5f5);
    const auto width = static_cast<float> (button.getWidth());
    const auto height = static_cast<float> (button.getHeight());

    g.setColour (juce::Colour (fill));
    g.fillRoundedRectangle (0.0f, 0.0f, width, height, 4.0f);
    g.setColour (juce::Colour (0xff000000));
    g.drawRoundedRectangle (0.0f, 0.0f, width, height, 4.0f, 1.0f);

    if (button.hasKeyboardFocus (false))
    {
        // On the fill, inside the outline, which a ring drawn over would only recolour.
        g.setColour (focusRingColourOn (juce::Colour (fill)));
        g.drawRoundedRectangle (juce::Rectangle<float> (width, height).reduced (buttonRingInset), 3.0f,
                                ringThickness);
    }
}

void CustomLook::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOverButton,
                                   bool isButtonDown)
{
    auto colour = button.findColour (juce::ToggleButton::textColourId);

    if (isMouseOverButton)
    {
        if (isButtonDown)
            colour = colour.brighter (0.4f);
        else
            colour = colour.getBrightness() > 0.5f ? colour.darker (0.1f) : colour.brighter (0.1f);
    }

    g.setColour (colour);
    g.drawRect (0, 0, button.getWidth(), button.getHeight(), 1);
}

void CustomLook::fillTextEditorBackground (juce::Graphics&, int, int, juce::TextEditor&) {}

void CustomLook::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (editor.hasKeyboardFocus (true) && !editor.isReadOnly())
        drawFocusRing (g, {width, height});
}

void CustomLook::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.setColour (juce::Colour (accentColour));
    g.fillRect (0, 0, width, height);
}

void CustomLook::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
                                    bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                                    const juce::String& text, const juce::String& shortcutKeyText,
                                    const juce::Drawable*, const juce::Colour*)
{
    // A separator is a gap of the menu's own colour; the menu highlights one under the pointer
    // too, which would show as a white bar.
    if (isSeparator)
        return;

    auto textColour = juce::Colour (0xffffffff);

    if (isHighlighted && isActive)
    {
        g.setColour (juce::Colour (0xffffffff));
        g.fillRect (area);
        textColour = juce::Colour (accentColour);
    }

    // An item that cannot be chosen now (nothing to undo) is shown faded.
    g.setColour (isActive ? textColour : textColour.withMultipliedAlpha (0.5f));

    // A column as wide as a row is high holds the tick, so that names line up ticked or not; the
    // ideal width the menu gives an item leaves that much room on either side of its name.
    auto row = area.withZeroOrigin();
    const auto tickArea = row.removeFromLeft (row.getHeight()).toFloat();
    if (isTicked)
    {
        const auto tick = getTickShape (1.0f);
        g.fillPath (
            tick, tick.getTransformToScaleToFit (tickArea.reduced (tickArea.getHeight() * tickInset), true));
    }

    if (hasSubMenu)
    {
        const auto arrowArea =
            row.removeFromRight (row.getHeight()).toFloat().reduced (row.getHeight() * arrowInset);
        juce::Path arrow;
        arrow.addTriangle (arrowArea.getX(), arrowArea.getY(), arrowArea.getX(), arrowArea.getBottom(),
                           arrowArea.getRight(), arrowArea.getCentreY());
        g.fillPath (arrow);
    }

    g.setFont (menuItemFont());
    g.drawText (text, row, juce::Justification::left, false);

    if (shortcutKeyText.isNotEmpty())
        g.drawText (shortcutKeyText, row.withTrimmedRight (shortcutMargin), juce::Justification::right,
                    false);
}

void CustomLook::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                            int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    juce::LookAndFeel_V3::getIdealPopupMenuItemSize (text, isSeparator, standardMenuItemHeight, idealWidth,
                                                     idealHeight);
    // The tick's column, the name, and as much again for a sub-menu's arrow or a margin.
    if (!isSeparator)
        idealWidth =
            juce::roundToInt (std::ceil (menuItemFont().getStringWidthFloat (text))) + idealHeight * 2;
}

void CustomLook::drawMenuBarItem (juce::Graphics& g, int width, int height, int itemIndex,
                                  const juce::String& itemText, bool isMouseOverItem, bool isMenuOpen, bool,
                                  juce::MenuBarComponent& menuBar)
{
    if (menuBar.isEnabled())
    {
        if (isMenuOpen || isMouseOverItem)
        {
            g.fillAll (menuBar.findColour (juce::PopupMenu::highlightedBackgroundColourId));
            g.setColour (menuBar.findColour (juce::PopupMenu::highlightedTextColourId));
        }
        else
        {
            g.setColour (menuBar.findColour (juce::PopupMenu::textColourId));
        }
    }
    else
    {
        g.fillAll (juce::Colour (0xffffffff));
        g.setColour (menuBar.findColour (juce::PopupMenu::textColourId).withMultipliedAlpha (0.5f));
    }

    g.setFont (getMenuBarFont (menuBar, itemIndex, itemText));
    g.drawFittedText (itemText, 0, 0, width, height, juce::Justification::centred, 1, 0.7f);
}

void CustomLook::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                               juce::ComboBox& box)
{
    g.setColour (juce::Colour (0xffffffff));
    g.fillRoundedRectangle (0.0f, 0.0f, static_cast<float> (width), static_cast<float> (height), 2.0f);

    const auto middle = static_cast<float> (height / 2);
    const auto right = static_cast<float> (width);
    juce::Path arrow;
    arrow.addTriangle (right - 10.0f, middle + 4.0f, right - 5.0f, middle, right - 15.0f, middle);

    g.setColour (box.findColour (juce::ComboBox::arrowColourId));
    g.fillPath (arrow);

    if (box.hasKeyboardFocus (false))
        drawFocusRing (g, {width, height});
}

void CustomLook::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    juce::LookAndFeel_V3::positionComboBoxText (box, label);
    const auto inset = 1 + static_cast<int> (ringThickness);
    label.setBounds (label.getBounds().withTop (inset).withLeft (inset).withBottom (box.getHeight() - inset));
}

void CustomLook::drawLabel (juce::Graphics& g, juce::Label& label)
{
    g.fillAll (label.findColour (juce::Label::backgroundColourId));

    if (!label.isBeingEdited())
    {
        const auto alpha = label.isEnabled() ? 1.0f : 0.5f;

        g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (alpha));
        g.setFont (getLabelFont (label));
        g.drawText (label.getText(), 0, 0, label.getWidth(), label.getHeight(),
                    juce::Justification::centredLeft, true);
        g.setColour (label.findColour (juce::Label::outlineColourId).withMultipliedAlpha (alpha));
    }
    else if (label.isEnabled())
    {
        g.setColour (label.findColour (juce::Label::outlineColourId));
    }

    g.drawRect (label.getLocalBounds(), 1);
}

void CustomLook::drawImageButton (juce::Graphics& g, juce::Image* image, int imageX, int imageY, int imageW,
                                  int imageH, const juce::Colour& overlayColour, float imageOpacity,
                                  juce::ImageButton& button)
{
    juce::LookAndFeel_V3::drawImageButton (g, image, imageX, imageY, imageW, imageH, overlayColour,
                                           imageOpacity, button);
    if (image == nullptr || !image->isValid() || !button.hasKeyboardFocus (false) || imageW <= 0 ||
        imageH <= 0)
        return;

    // The pictures have rounded or shaded edges of their own, so the ring goes on their fill,
    // whose colour is read where the ring's left side passes (the lit tab is blue, the others
    // white or grey).
    const auto ring = button.getLocalBounds().toFloat().reduced (pictureRingInset);
    const auto sampleX = (ring.getX() + ringThickness - static_cast<float> (imageX)) *
                         static_cast<float> (image->getWidth()) / static_cast<float> (imageW);
    const auto sampleY = (ring.getCentreY() - static_cast<float> (imageY)) *
                         static_cast<float> (image->getHeight()) / static_cast<float> (imageH);
    const auto behind =
        image->getPixelAt (juce::jlimit (0, image->getWidth() - 1, static_cast<int> (sampleX)),
                           juce::jlimit (0, image->getHeight() - 1, static_cast<int> (sampleY)));

    g.setColour (focusRingColourOn (behind));
    g.drawRoundedRectangle (ring, pictureRingCorner, ringThickness);
}

void CustomLook::drawFocusRing (juce::Graphics& g, juce::Rectangle<int> bounds, juce::Colour behind)
{
    // Inside the edge, so that no neighbour paints over it.
    g.setColour (focusRingColourOn (behind));
    g.drawRect (bounds.toFloat().reduced (1.0f), ringThickness);
}

juce::Colour CustomLook::focusRingColourOn (juce::Colour behind)
{
    for (auto candidate : {juce::Colour (accentColour), juce::Colours::white})
        if (contrastRatio (candidate, behind) >= ringContrast)
            return candidate;

    return juce::Colours::black;
}

double CustomLook::contrastRatio (juce::Colour first, juce::Colour second)
{
    const auto luminance = [] (juce::Colour colour)
    {
        const auto linear = [] (juce::uint8 component)
        {
            const auto value = component / 255.0;
            return value <= 0.03928 ? value / 12.92 : std::pow ((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear (colour.getRed()) + 0.7152 * linear (colour.getGreen()) +
               0.0722 * linear (colour.getBlue());
    };

    const auto a = luminance (first);
    const auto b = luminance (second);
    return (std::max (a, b) + 0.05) / (std::min (a, b) + 0.05);
}
