// Draws every picture the editor embeds and writes them as PNG files, and the desktop's icons.
//
// Usage: marlo-artwork [outputFolder] [--icons iconFolder] [--preview previewFolder]
// The output folder defaults to the repository's resources/, the icon folder to packaging/icons/
// (the icons the installed desktop shows but the editor does not embed). The previews show the
// pictures put together the way the editor places them, so the artwork can be judged without
// running the editor.
// Everything is drawn from code and fixed seeds, so running it twice gives identical files.

#include "AboutAndSetupArtwork.h"
#include "AppIconArtwork.h"
#include "ArtworkPreviews.h"
#include "ArtworkWriter.h"
#include "ControllerPanel.h"
#include "ControllerParts.h"
#include "EditorArtwork.h"
#include "editor/EditorComponent.h"

#include <iostream>

static juce::String stateSuffix (State state)
{
    switch (state)
    {
        case State::hover:
            return "_hover";
        case State::pressed:
            return "_pressed";
        case State::normal:
            break;
    }
    return "_normal";
}

// The pictures of a document window, named with a suffix: none for the set at one pixel per unit.
static void writeEditorPictures (ArtworkWriter& writer, const juce::String& suffix)
{
    writer.write ("background" + suffix, drawBackground());
    writer.write ("controller" + suffix, drawController());

    for (auto state : allStates)
    {
        for (auto& part : parts)
            writer.write ("part_" + juce::String (part.name) + stateSuffix (state) + suffix,
                          drawPart (part, state));

        for (auto& tab : tabs)
            writer.write ("tab_" + juce::String (tab.name) + stateSuffix (state) + suffix,
                          drawTab (tab, state));

        writer.write ("arrow_left" + stateSuffix (state) + suffix, drawArrow (false, state));
        writer.write ("arrow_right" + stateSuffix (state) + suffix, drawArrow (true, state));

        if (state != State::pressed)
            for (auto& button : transfers)
                writer.write ("transfer_" + juce::String (button.name) + stateSuffix (state) + suffix,
                              drawTransferButton (button, state));
    }
}

static void writeAll (ArtworkWriter& writer)
{
    writeEditorPictures (writer, {});
    writer.write ("about", drawAbout());
    writer.write ("device_setup_background", drawDeviceSetupBackground());
    writer.write ("device_list_frame", drawDeviceListFrame());
    writer.write ("app_icon", drawAppIcon ((int)iconDesignSize));
    // The framework hands a window's icon to the X server pixel by pixel, three times over (the
    // icon property, a pixmap and its mask): at 256 px that cost more than building a page. Task
    // lists and switchers show 16 to 64 px and take the large sizes from the installed icons.
    writer.write ("window_icon", drawAppIcon (64));

    // Drawn at twice the pixels, not enlarged: the editor draws these where a window is scaled
    // above 100 %. Only a document window zooms, so the smaller windows have no such set.
    setPixelScale (2.0f);
    writeEditorPictures (writer, "_2x");
    setPixelScale (1.0f);
}

// The icon at the other sizes a desktop asks for, and scalable; the editor embeds only the largest.
static void writeDesktopIcons (ArtworkWriter& writer)
{
    for (auto size : {48, 64, 128})
        writer.write ("app_icon_" + juce::String (size), drawAppIcon (size));

    writer.writeText ("app_icon.svg", drawAppIconSvg());
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI juce;

    juce::File output (MARLO_RESOURCES_DIR);
    juce::File icons (MARLO_ICONS_DIR);
    juce::File preview;

    for (int i = 1; i < argc; ++i)
    {
        const juce::String argument (argv[i]);

        if (argument == "--preview" && i + 1 < argc)
            preview = juce::File::getCurrentWorkingDirectory().getChildFile (argv[++i]);
        else if (argument == "--icons" && i + 1 < argc)
            icons = juce::File::getCurrentWorkingDirectory().getChildFile (argv[++i]);
        else
            output = juce::File::getCurrentWorkingDirectory().getChildFile (argument);
    }

    for (const auto& folder : {output, icons})
    {
        if (!folder.createDirectory())
        {
            std::cerr << "cannot create " << folder.getFullPathName() << "\n";
            return 1;
        }
    }

    ArtworkWriter iconWriter (icons);
    writeDesktopIcons (iconWriter);
    ArtworkWriter writer (output);
    writeAll (writer);
    // Painted by the editor itself from the pictures built into this program: after changing any
    // of them, build again and run this once more, so that it is painted from the new ones.
    writer.write ("editor_at_rest", EditorComponent::paintAtRest());

    if (preview != juce::File() && preview.createDirectory())
    {
        ArtworkWriter previews (preview);
        previews.write ("preview_normal", drawPreview (State::normal, 0));
        previews.write ("preview_pressed", drawPreview (State::pressed, 3));
        previews.write ("preview_about", drawAboutPreview());
        previews.write ("preview_device_setup", drawDeviceSetupPreview());

        if (previews.hasFailed())
            return 1;
    }

    return writer.hasFailed() || iconWriter.hasFailed() ? 1 : 0;
}
