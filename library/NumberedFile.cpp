#include "library/NumberedFile.h"

#include "platform/NewFile.h"

juce::String NumberedFile::numbered (const juce::String& name, int number)
{
    return number <= 1 ? name : name + " " + juce::String (number);
}

juce::Result NumberedFile::write (const juce::File& folder, const juce::String& name,
                                  const juce::String& extension, const juce::MemoryBlock& content,
                                  juce::File& written)
{
    if (!folder.isDirectory())
        if (const auto made = folder.createDirectory(); made.failed())
            return made;
    const auto key = folder.getFullPathName() + "/" + name + extension;
    auto& number = reached[key];
    // Far beyond any library; a bound so that a folder that refuses every name cannot spin.
    for (number = juce::jmax (number, 1); number < 1000000; ++number)
    {
        written = folder.getChildFile (numbered (name, number) + extension);
        bool taken = false;
        const auto result = NewFile::create (written, content.getData(), content.getSize(), taken);
        if (!taken)
            return result;
    }
    return juce::Result::fail ("every name for \"" + name + "\" is taken");
}
