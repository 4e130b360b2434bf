#include "ArtworkPreviews.h"

#include "AboutAndSetupArtwork.h"
#include "ControllerPanel.h"
#include "EditorArtwork.h"

juce::Image drawPreview (State partState, int litTab)
{
    auto image = newImage (1200, 700);
    juce::Graphics g (image);
    inUnits (g);
    g.fillAll (juce::Colours::white);
    g.drawImage (drawBackground(), {0.0f, 0.0f, 1200.0f, 750.0f});
    drawAssembledController (g, {26, 65}, partState);

    auto x = 0;

    for (int i = 0; i < (int)std::size (tabs); ++i)
    {
        g.drawImageAt (drawTab (tabs[i], i == litTab ? State::pressed
                                                     : (i == litTab + 1 ? State::hover : State::normal)),
                       x, 482);
        x += tabs[i].width;
    }

    if (litTab == 0)
    {
        for (int i = 0; i < (int)std::size (transfers); ++i)
            g.drawImageAt (drawTransferButton (transfers[i], i == 1 ? State::hover : State::normal), 5,
                           527 + 40 * i);
    }
    else
    {
        g.drawImageAt (drawArrow (false, State::hover), 10, 527);
        g.drawImageAt (drawArrow (true, State::pressed), 1170, 527);
    }

    return image;
}

juce::Image drawAboutPreview()
{
    auto image = drawAbout();
    juce::Graphics g (image);
    inUnits (g);
    g.setColour (juce::Colours::black);
    g.setFont (dejaVu (15.0f));
    g.drawText (juce::String ("Version: ") + JUCE_APPLICATION_VERSION_STRING,
                juce::Rectangle<float> (0.0f, 133.0f, 484.0f, 15.0f), juce::Justification::centred, false);
    g.drawText ("Copyright Orvane", juce::Rectangle<float> (0.0f, 211.0f, 484.0f, 15.0f),
                juce::Justification::centred, false);
    g.drawText ("Orvane and Marlo are trademarks of Orvane",
                juce::Rectangle<float> (0.0f, 227.0f, 484.0f, 15.0f), juce::Justification::centred, false);
    return image;
}

juce::Image drawDeviceSetupPreview()
{
    auto image = drawDeviceSetupBackground();
    juce::Graphics g (image);
    inUnits (g);
    const auto frame = drawDeviceListFrame();
    g.drawImageAt (frame, 15, 60);
    g.drawImageAt (frame, 15, 228);
    g.setColour (juce::Colours::black);
    g.setFont (dejaVu (15.0f));
    g.drawText ("INPUT", 25, 44, 41, 18, juce::Justification::centredLeft, true);
    g.drawText ("OUTPUT", 23, 216, 57, 11, juce::Justification::centredLeft, true);

    for (int row = 0; row < 3; ++row)
    {
        const juce::Rectangle<float> line (15.0f, 69.0f + 20.0f * (float)row, 327.0f, 20.0f);
        g.setColour (row == 1 ? juce::Colours::white : juce::Colours::transparentBlack);
        g.fillRect (line);
        g.setColour (row == 1 ? juce::Colours::black : juce::Colours::white);
        g.setFont (dejaVu (14.0f));
        g.drawText ("Marlo MIDI " + juce::String (row + 1), line.withTrimmedLeft (5.0f),
                    juce::Justification::centredLeft, true);
    }

    g.setColour (juce::Colour (0xfff5f5f5));
    g.fillRect (16, 381, 72, 32);
    g.fillRect (120, 381, 88, 30);
    g.fillRect (248, 381, 88, 30);
    return image;
}
