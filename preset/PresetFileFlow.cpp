#include "preset/PresetFileFlow.h"

#include "preset/Dialogs.h"

bool PresetFileFlow::save (const juce::File& file, const PresetCodec::Image& image)
{
    const auto result = PresetFile::write (file, image);
    if (result.wasOk())
        return true;
    showSaveFailedAlert (file, result.getErrorMessage());
    return false;
}

juce::Result PresetFileFlow::load (const juce::File& file, PresetFile::Reading& reading,
                                   const std::function<bool (const PresetCodec::Image&)>& apply)
{
    PresetCodec::Image image;
    auto result = PresetFile::read (file, image, &reading);
    // A preset the document's boxes refuse is refused for the reason the check of the image gives.
    if (result.wasOk() && !apply (image))
    {
        result = PresetCodec::checkImage (image);
        // Whatever refused it, a preset that was not taken is never reported as loaded.
        if (result.wasOk())
            result = juce::Result::fail ("the editor refused the preset");
    }
    if (result.failed())
        showInvalidFileAlert (file, result.getErrorMessage());
    return result;
}

void PresetFileFlow::noteFurtherPresets (const juce::File& file, const PresetFile::Reading& reading)
{
    if (reading.presets > 1)
        Dialogs::get().showAlert ("More Than One Preset", file.getFileName() + " holds " +
                                                              juce::String (reading.presets) +
                                                              " presets; the first is shown");
}

void PresetFileFlow::showInvalidFileAlert (const juce::File& file, const juce::String& reason)
{
    // The second line is what "marlo-preset validate" prints for the file.
    Dialogs::get().showAlert ("Invalid File",
                              "File is invalid or currupt\r\n" + file.getFullPathName() + ": " + reason);
}

void PresetFileFlow::showSaveFailedAlert (const juce::File& file, const juce::String& reason)
{
    Dialogs::get().showAlert ("File Not Saved", "The preset could not be written to \"" +
                                                    file.getFullPathName() + "\":\r\n" + reason);
}
