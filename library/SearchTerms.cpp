#include "library/SearchTerms.h"

#include "preset/ParameterIndex.h"
#include "preset/ShownValue.h"

#include <algorithm>

namespace
{
juce::StringArray wordsOf (const juce::String& text)
{
    return juce::StringArray::fromTokens (text, " \t", "");
}

/** Whether a parameter's name fits a name typed with "*" for a control's number, case aside. */
bool fits (const juce::StringArray& typed, const juce::StringArray& name)
{
    if (typed.size() != name.size())
        return false;
    for (int i = 0; i < typed.size(); ++i)
        if (!(typed[i] == "*" ? name[i].containsOnly ("0123456789") : typed[i].equalsIgnoreCase (name[i])))
            return false;
    return true;
}

std::vector<const ParameterIndex::Entry*> entriesNamed (const juce::String& name)
{
    std::vector<const ParameterIndex::Entry*> found;
    const auto typed = wordsOf (name);
    if (!typed.contains ("*"))
    {
        if (const auto* entry = ParameterIndex::findIgnoringCase (typed.joinIntoString (" ")))
            found.push_back (entry);
        return found;
    }
    for (const auto& entry : ParameterIndex::all())
        if (fits (typed, wordsOf (entry.name)))
            found.push_back (&entry);
    return found;
}

/** The stored value of a shown one; a mode by its name, case aside. */
juce::Result storedValueOf (const ParameterIndex::Entry& entry, const juce::String& text, int& stored)
{
    if (entry.parameter->spec.widgetKind == 1)
        for (const auto& mode : entry.schema->getModes())
            if (mode.name.equalsIgnoreCase (text.trim()))
                return ShownValue::parse (entry.name, mode.name, stored);
    return ShownValue::parse (entry.name, text, stored);
}

/** "Note = 36" is "Note=36". */
juce::String joinEquals (const juce::String& text)
{
    auto words = wordsOf (text.replace ("=", " = "));
    for (int i = words.size(); --i >= 0;)
        if (words[i] == "=")
        {
            if (i + 1 < words.size())
            {
                words.set (i, "=" + words[i + 1]);
                words.remove (i + 1);
            }
            if (i > 0)
            {
                words.set (i - 1, words[i - 1] + words[i]);
                words.remove (i);
            }
        }
    return words.joinIntoString (" ");
}
} // namespace

bool SearchTerms::namesParameter (const juce::String& name)
{
    return !entriesNamed (name).empty();
}

bool SearchTerms::addParameter (const juce::String& name, const juce::String& value)
{
    const auto entries = entriesNamed (name);
    if (entries.empty())
    {
        status = juce::Result::fail ("no parameter is named \"" + name.trim() + "\"");
        return false;
    }
    ParameterTerm term;
    for (const auto* entry : entries)
    {
        Place place;
        place.offset = entry->offset;
        if (const auto parsed = storedValueOf (*entry, value, place.stored); parsed.failed())
        {
            status = parsed;
            return false;
        }
        const auto& schema = *entry->schema;
        if (schema.hasModeSelector() && entry->parameter->label != ControlSchema::modeLabel)
        {
            place.modeOffset = entry->offset - entry->parameter->byte + schema.getModeByte();
            for (size_t mode = 0; mode < schema.getModes().size() && mode < 32; ++mode)
                if (schema.getModes()[mode].labels.contains (entry->parameter->label))
                    place.shownInModes |= 1u << mode;
        }
        term.places.push_back (place);
    }
    parameters.push_back (std::move (term));
    return true;
}

SearchTerms SearchTerms::fromArguments (const juce::StringArray& arguments)
{
    SearchTerms terms;
    for (const auto& argument : arguments)
    {
        if (!argument.containsChar ('='))
            terms.words.add (argument.trim());
        else if (!terms.addParameter (argument.upToFirstOccurrenceOf ("=", false, false),
                                      argument.fromFirstOccurrenceOf ("=", false, false)))
            return terms;
    }
    terms.words.removeEmptyStrings();
    return terms;
}

SearchTerms SearchTerms::fromField (const juce::String& text)
{
    SearchTerms terms;
    const auto tokens = wordsOf (joinEquals (text));
    int pending = 0; // the first token not yet taken
    for (int i = 0; i < tokens.size(); ++i)
    {
        if (!tokens[i].containsChar ('='))
            continue;
        const auto last = tokens[i].upToFirstOccurrenceOf ("=", false, false);
        auto value = tokens[i].fromFirstOccurrenceOf ("=", false, false);
        // The longest run of words before the "=" that names a parameter.
        int start = -1;
        for (int first = pending; first <= i && start < 0; ++first)
        {
            juce::StringArray name (tokens.begin() + first, i - first);
            name.add (last);
            if (namesParameter (name.joinIntoString (" ")))
                start = first;
        }
        if (start < 0)
        {
            terms.status = juce::Result::fail ("no parameter is named \"" + last + "\"");
            return terms;
        }
        juce::StringArray name (tokens.begin() + start, i - start);
        name.add (last);
        // A mode's name may have words of its own ("CC Toggle"): as many as make one.
        int end = i;
        for (int more = i + 1; more < tokens.size() && !tokens[more].containsChar ('='); ++more)
        {
            juce::StringArray longer (tokens.begin() + i + 1, more - i);
            longer.insert (0, value);
            const auto longerValue = longer.joinIntoString (" ");
            int stored = 0;
            const auto entries = entriesNamed (name.joinIntoString (" "));
            if (storedValueOf (*entries.front(), longerValue, stored).wasOk())
            {
                value = longerValue;
                end = more;
            }
        }
        for (int word = pending; word < start; ++word)
            terms.words.add (tokens[word]);
        if (!terms.addParameter (name.joinIntoString (" "), value))
            return terms;
        pending = end + 1;
        i = end;
    }
    for (int word = pending; word < tokens.size(); ++word)
        terms.words.add (tokens[word]);
    return terms;
}

bool SearchTerms::matches (const juce::String& name, const PresetCodec::Image& image) const
{
    if (status.failed())
        return false;
    for (const auto& word : words)
        if (!name.containsIgnoreCase (word))
            return false;
    if (parameters.empty())
        return true;
    // An unreadable file holds no parameter.
    if (image.size() != static_cast<int> (presetDataLength()))
        return false;
    const auto holds = [&image] (const Place& place)
    {
        if (image[place.offset] != place.stored)
            return false;
        return place.modeOffset < 0 ||
               (image[place.modeOffset] < 32 && (place.shownInModes & (1u << image[place.modeOffset])) != 0);
    };
    for (const auto& term : parameters)
        if (std::none_of (term.places.begin(), term.places.end(), holds))
            return false;
    return true;
}
