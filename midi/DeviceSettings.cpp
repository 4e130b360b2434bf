#include "midi/DeviceSettings.h"

#include "platform/AtomicFile.h"
#include "platform/ExactText.h"
#include "platform/RegularFile.h"
#include "platform/UserFolders.h"

#include <cstdio>

namespace
{
constexpr const char* inputKey = "inputDevice";
constexpr const char* outputKey = "outputDevice";
constexpr const char* libraryFolderKey = "libraryFolder";
// The framework's properties file keeps its values so; files it wrote read the same.
constexpr const char* rootTag = "PROPERTIES";
constexpr const char* valueTag = "VALUE";

/** Each option's entry, present only while the option is on. */
const char* optionKey (DeviceSettings::Option option)
{
    return option == DeviceSettings::Option::sendChanges ? "sendChangesToController" : "verifyAfterSending";
}

/** Far more than a few names and paths take. */
constexpr juce::int64 largestFile = 64 * 1024;
/** Every element starts with '<', so this bounds how deep the parser, which recurses once per
    level, can be made to go; a settings file holds a handful. */
constexpr int mostMarkup = 256;

/** The file's values, read without trusting it: anybody who could write the folder may have
    put anything there, and nothing in it may keep the editor from starting. */
juce::Result readValues (const juce::File& file, juce::StringPairArray& values)
{
    juce::MemoryBlock content;
    if (const auto read = RegularFile::read (file, largestFile, "a settings file", content); read.failed())
        return read;
    // The parser walks UTF-8 by its lead bytes alone: a cut sequence would take it past the text.
    const auto exact = ExactText::fromBytes (static_cast<const char*> (content.getData()), content.getSize());
    if (!exact.has_value())
        return juce::Result::fail ("is not UTF-8 text");
    const auto& text = *exact;
    // Declarations bring the parser's entities, which may name each other without end.
    if (text.contains ("<!"))
        return juce::Result::fail ("holds declarations or comments, which a settings file never has");
    int markup = 0;
    for (auto character = text.getCharPointer(); !character.isEmpty();)
        if (character.getAndAdvance() == '<' && ++markup > mostMarkup)
            return juce::Result::fail ("holds more than " + juce::String (mostMarkup) + " elements");

    const auto xml = juce::XmlDocument::parse (text);
    if (xml == nullptr || !xml->hasTagName (rootTag))
        return juce::Result::fail ("is not a settings file");
    for (const auto* value : xml->getChildWithTagNameIterator (valueTag))
        values.set (value->getStringAttribute ("name"), value->getStringAttribute ("val"));
    return juce::Result::ok();
}

juce::Result writeValues (const juce::File& file, const juce::StringPairArray& values)
{
    juce::XmlElement xml (rootTag);
    for (const auto& key : values.getAllKeys())
    {
        auto* value = xml.createNewChildElement (valueTag);
        value->setAttribute ("name", key);
        value->setAttribute ("val", values[key]);
    }
    const auto text = xml.toString();
    return AtomicFile::replaceContent (file, text.toRawUTF8(), text.getNumBytesAsUTF8());
}
} // namespace

DeviceSettings::DeviceSettings (juce::File settingsFile) : file (std::move (settingsFile)) {}

juce::File DeviceSettings::defaultFile()
{
    const auto instance = juce::SystemStats::getEnvironmentVariable ("MARLO_EDITOR_INSTANCE", {});
    const auto name = instance.isEmpty() ? juce::String ("settings.xml")
                                         : juce::File::createLegalFileName ("settings-" + instance + ".xml");
    return UserFolders::settings().getChildFile ("orvane-marlo-editor").getChildFile (name);
}

juce::StringPairArray DeviceSettings::loadValues() const
{
    juce::StringPairArray values;
    if (!file.existsAsFile())
        return values;

    if (const auto read = readValues (file, values); read.failed())
    {
        // Once: the start goes on with no device open and every option off, as without the file.
        if (!std::exchange (reported, true))
            std::fprintf (stderr, "marlo-editor: %s: %s; no device is opened\n",
                          file.getFullPathName().toRawUTF8(), read.getErrorMessage().toRawUTF8());
        return {};
    }
    return values;
}

bool DeviceSettings::storeValues (const juce::StringPairArray& values)
{
    if (values.size() == 0)
        return !file.exists() || file.deleteFile();
    if (!file.getParentDirectory().createDirectory())
        return false;
    return writeValues (file, values).wasOk();
}

bool DeviceSettings::isRemembering() const
{
    const auto values = loadValues();
    return values.containsKey (inputKey) || values.containsKey (outputKey);
}

DeviceSettings::Devices DeviceSettings::load() const
{
    const auto values = loadValues();
    return {values[inputKey], values[outputKey]};
}

bool DeviceSettings::remember (const Devices& devices)
{
    // Whatever else the file holds stays; a file that cannot be read gives way to the choice.
    auto values = loadValues();
    values.set (inputKey, devices.input);
    values.set (outputKey, devices.output);
    return storeValues (values);
}

bool DeviceSettings::forget()
{
    auto values = loadValues();
    values.remove (inputKey);
    values.remove (outputKey);
    return storeValues (values);
}

bool DeviceSettings::isOn (Option option) const
{
    return loadValues()[optionKey (option)] == "1";
}

bool DeviceSettings::setOn (Option option, bool on)
{
    auto values = loadValues();
    if (on)
        values.set (optionKey (option), "1");
    else
        values.remove (optionKey (option));
    return storeValues (values);
}

juce::File DeviceSettings::libraryFolder (const juce::File& defaultFolder) const
{
    const auto path = loadValues()[libraryFolderKey];
    return juce::File::isAbsolutePath (path) ? juce::File (path) : defaultFolder;
}

bool DeviceSettings::setLibraryFolder (const juce::File& folder, const juce::File& defaultFolder)
{
    auto values = loadValues();
    if (folder == defaultFolder)
        values.remove (libraryFolderKey);
    else
        values.set (libraryFolderKey, folder.getFullPathName());
    return storeValues (values);
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

juce::StringArray DeviceSettings::absentDevices (const Devices& devices, const juce::StringArray& inputs,
                                                 const juce::StringArray& outputs)
{
    juce::StringArray absent;

    if (devices.input.isNotEmpty() && !inputs.contains (devices.input))
        absent.add (devices.input);
    if (devices.output.isNotEmpty() && !outputs.contains (devices.output))
        absent.addIfNotAlreadyThere (devices.output);

    return absent;
}
