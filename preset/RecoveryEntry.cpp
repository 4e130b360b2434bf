#include "preset/RecoveryEntry.h"

#include "platform/ExactText.h"

namespace
{
/** Why the JSON text is not read, if it is not: it nests deeper than `deepest` arrays and
    objects, or holds anything but strings and the marks between them. A description holds only
    names and paths; a number or a word is not looked at, since the parser's own reading of long
    numbers overflows. The text is walked by character as the parser walks it. Brackets inside
    strings do not count; the parser takes strings in single quotes too, so they are strings here
    as well, or a quote inside one could hide the brackets after it. */
juce::Result structureOf (const juce::String& text, int deepest)
{
    int depth = 0;
    juce::juce_wchar quote = 0;
    for (auto character = text.getCharPointer(); !character.isEmpty();)
    {
        const auto c = character.getAndAdvance();
        if (quote != 0)
        {
            if (c == '\\' && !character.isEmpty())
                character.getAndAdvance();
            else if (c == quote)
                quote = 0;
        }
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '[' || c == '{')
        {
            if (++depth > deepest)
                return juce::Result::fail ("the description nests deeper than " + juce::String (deepest) +
                                           " levels");
        }
        else if (c == ']' || c == '}')
            depth = juce::jmax (0, depth - 1);
        else if (c != ',' && c != ':' && !juce::CharacterFunctions::isWhitespace (c))
            return juce::Result::fail ("the description holds more than names and paths");
    }
    return juce::Result::ok();
}

juce::Result readDescription (const juce::MemoryBlock& text, RecoveryEntry& entry)
{
    if (text.getSize() > RecoveryEntry::largestDescription)
        return juce::Result::fail ("the description holds more than " +
                                   juce::String (RecoveryEntry::largestDescription) + " bytes");
    // The framework's strings walk UTF-8 by its lead bytes alone: a cut sequence at the end
    // would take the parser past the text.
    const auto exact = ExactText::fromBytes (static_cast<const char*> (text.getData()), text.getSize());
    if (!exact.has_value())
        return juce::Result::fail ("the description is not UTF-8 text");
    const auto& json = *exact;
    if (const auto structure = structureOf (json, RecoveryEntry::deepestDescription); structure.failed())
        return structure;

    juce::var description;
    const auto parsed = juce::JSON::parse (json, description);
    if (parsed.failed() || description.getDynamicObject() == nullptr)
        return juce::Result::fail ("the description is not an object of JSON");

    const auto path = description.getProperty ("file", {}).toString();
    entry.file = juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
    entry.name = description.getProperty ("name", {}).toString();
    return juce::Result::ok();
}
} // namespace

juce::MemoryBlock RecoveryEntry::describe() const
{
    auto* description = new juce::DynamicObject();
    description->setProperty ("name", name);
    description->setProperty ("file", file == juce::File() ? juce::String() : file.getFullPathName());
    const auto text = juce::JSON::toString (juce::var (description)) + "\n";
    return {text.toRawUTF8(), text.getNumBytesAsUTF8()};
}

juce::Result RecoveryEntry::read (const juce::MemoryBlock& preset, const juce::MemoryBlock* description,
                                  RecoveryEntry& entry)
{
    RecoveryEntry read;
    if (const auto decoded = PresetCodec::decodeFile (preset.getData(), preset.getSize(), read.image);
        decoded.failed())
        return decoded;
    if (description != nullptr)
        if (const auto described = readDescription (*description, read); described.failed())
            return described;

    if (read.name.isEmpty())
        read.name = read.file != juce::File() ? read.file.getFileNameWithoutExtension() : "Untitled";
    entry = std::move (read);
    return juce::Result::ok();
}
