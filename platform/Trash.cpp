#include "platform/Trash.h"

juce::String Trash::describe (const juce::String& path, juce::Time deletion)
{
    juce::String encoded;
    for (auto* byte = path.toRawUTF8(); *byte != 0; ++byte)
    {
        const auto c = static_cast<unsigned char> (*byte);
        if (juce::CharacterFunctions::isLetterOrDigit (static_cast<char> (c)) && c < 0x80)
            encoded << static_cast<char> (c);
        else if (c == '/' || c == '-' || c == '_' || c == '.' || c == '~')
            encoded << static_cast<char> (c);
        else
            encoded << "%"
                    << juce::String::toHexString (static_cast<int> (c)).paddedLeft ('0', 2).toUpperCase();
    }
    return "[Trash Info]\nPath=" + encoded + "\nDeletionDate=" + deletion.formatted ("%Y-%m-%dT%H:%M:%S") +
           "\n";
}
