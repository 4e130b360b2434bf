#include "AboutAndSetupArtwork.h"

#include "ControllerPanel.h"

juce::Image drawAbout()
{
    auto image = newImage (484, 267);
    juce::Graphics g (image);
    inUnits (g);
    g.setGradientFill (juce::ColourGradient (juce::Colours::white, 0.0f, 0.0f, juce::Colour (0xffeef1f4),
                                             0.0f, 267.0f, false));
    g.fillAll();

    const auto logoWidth = 210.0f;
    drawLogo (g, {(484.0f - logoWidth) * 0.5f, 8.0f, logoWidth, 26.0f}, accent, ink);
    g.setColour (ink);
    g.setFont (dejaVu (17.0f, true));
    g.drawText ("Marlo Editor", juce::Rectangle<float> (0.0f, 36.0f, 484.0f, 20.0f),
                juce::Justification::centred, false);

    // A small picture of the controller, drawn at full size first so the reduction stays smooth.
    auto controller = newImage (controllerSize.getWidth(), controllerSize.getHeight());
    {
        juce::Graphics cg (controller);
        inUnits (cg);
        drawAssembledController (cg, {}, State::normal);
    }
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (controller, juce::Rectangle<float> (357.6f, 64.0f).withCentre ({242.0f, 93.0f}));

    // The editor writes its version at 133..148 and two lines at 211..242; those bands stay empty.
    g.setColour (juce::Colour (0xff69717b));
    g.setFont (dejaVu (12.0f));
    g.drawText ("Preset editor for the Zell Series USB MIDI keyboard controller",
                juce::Rectangle<float> (0.0f, 162.0f, 484.0f, 16.0f), juce::Justification::centred, false);
    g.setColour (accent);
    g.fillRect (172.0f, 190.0f, 140.0f, 2.0f);
    g.fillRect (0.0f, 255.0f, 484.0f, 12.0f);
    return image;
}

juce::Image drawDeviceSetupBackground()
{
    auto image = newImage (360, 425);
    juce::Graphics g (image);
    inUnits (g);
    fillBrushed (g, unitBounds (image), juce::Colour (0xffeceef1), 0.04f, 11);

    // Header bar; "INPUT" is written from y 44 and the buttons sit at 381..413 on the plain ground.
    g.setColour (accent);
    g.fillRect (0, 0, 360, 32);
    drawLogo (g, {14.0f, 8.0f, 120.0f, 16.0f}, juce::Colours::white, juce::Colours::white);
    g.setColour (juce::Colours::white.withAlpha (0.85f));
    g.setFont (dejaVu (13.0f));
    g.drawText ("MIDI Devices", juce::Rectangle<float> (200.0f, 0.0f, 146.0f, 32.0f),
                juce::Justification::centredRight, false);

    g.setColour (juce::Colour (0xffc3c9d0));
    g.fillRect (15, 372, 330, 1);
    return image;
}

juce::Image drawDeviceListFrame()
{
    auto image = newImage (327, 141);
    juce::Graphics g (image);
    inUnits (g);
    const auto area = unitBounds (image).toFloat().reduced (0.75f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff1b1f24), 0.0f, 0.0f, juce::Colour (0xff2b3139),
                                             0.0f, 141.0f, false));
    g.fillRoundedRectangle (area, 6.0f);
    g.setColour (juce::Colour (0xffb3bec9));
    g.drawRoundedRectangle (area, 6.0f, 1.5f);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawRoundedRectangle (area.reduced (1.5f), 5.0f, 1.0f);
    return image;
}
