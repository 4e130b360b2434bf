#include "midi/DeviceSettings.h"

namespace
{
constexpr const char* inputKey = "inputDevice";
constexpr const char* outputKey = "outputDevice";

juce::PropertiesFile::Options fileOptions()
{
    juce::PropertiesFile::Options options;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    // Written once per OK or Apply, so the save is immediate rather than on a timer.
    options.millisecondsBeforeSaving = -1;
    return options;
}
} // namespace

DeviceSettings::DeviceSettings (juce::File settingsFile) : file (std::move (settingsFile)) {}

juce::File DeviceSettings::defaultFile()
{
    const juce::String config (juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {}));
    // The standard allows only an absolute path here; anything else means the default.
    const auto base =
        juce::File::isAbsolutePath (config)
            ? juce::File (config)
            : juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config");
    const auto instance = juce::SystemStats::getEnvironmentVariable ("MARLO_EDITOR_INSTANCE", {});
    const auto name = instance.isEmpty() ? juce::String ("settings.xml")
                                         : juce::File::createLegalFileName ("settings-" + instance + ".xml");
    return base.getChildFile ("orvane-marlo-editor").getChildFile (name);
}

DeviceSettings::Devices DeviceSettings::load() const
{
    if (!isRemembering())
        return {};

    juce::PropertiesFile properties (file, fileOptions());
    return {properties.getValue (inputKey), properties.getValue (outputKey)};
}

bool DeviceSettings::remember (const Devices& devices)
{
    if (!file.getParentDirectory().createDirectory())
        return false;

    juce::PropertiesFile properties (file, fileOptions());
    properties.setValue (inputKey, devices.input);
    properties.setValue (outputKey, devices.output);
    return properties.save();
}

bool DeviceSettings::forget()
{
    return !file.exists() || file.deleteFile();
}

void DeviceSettings::openRemembered (MidiManager& midiManager) const
{
    const auto devices = load();
    // The manager opens a listed name and leaves an absent one closed without a word.
    if (devices.output.isNotEmpty())
        midiManager.setOutputDevice (devices.output);
    if (devices.input.isNotEmpty())
        midiManager.setInputDevice (devices.input);
}

juce::StringArray DeviceSettings::absentDevices (MidiPorts& ports) const
{
    const auto devices = load();
    juce::StringArray absent;

    if (devices.input.isNotEmpty() && !ports.getInputNames().contains (devices.input))
        absent.add (devices.input);
    if (devices.output.isNotEmpty() && !ports.getOutputNames().contains (devices.output))
        absent.addIfNotAlreadyThere (devices.output);

    return absent;
}
