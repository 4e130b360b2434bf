#pragma once

#include "cli/PresetCommandLine.h"
#include "preset/PresetCodec.h"
#include "preset/PresetFile.h"

class PresetModel;

/** One run of one of the "marlo-preset" commands: what it was given, where it writes, and the one
    way the tool tells its user what went wrong.

    The helpers read and write files as the editor does, so that every command that opens or saves
    a preset says the same things about it.
*/
class CommandInvocation
{
public:
    /** The arguments after the command's name, as its rule read them. */
    struct Arguments
    {
        juce::StringArray files;
        /** The NAME=VALUE pairs that follow the file of a command that takes them. */
        juce::StringArray assignments;
        juce::StringPairArray values;
        juce::StringArray flags;
        /** All of them as given, for a command that reads its own options. */
        juce::StringArray given;
        bool help = false;
    };

    CommandInvocation (PresetCommandLine::Environment& environment, const juce::String& commandName,
                       const juce::String& usage, juce::OutputStream& out, juce::OutputStream& err);

    /** Starts a complaint on `err`: "marlo-preset: SUBJECT: ", or "marlo-preset: " without a
        subject; the caller ends the line. */
    static juce::OutputStream& complain (juce::OutputStream& err, const juce::String& subject = {});
    juce::OutputStream& complain (const juce::String& subject = {});
    /** Starts a complaint about how the command was called: "marlo-preset COMMAND: ". */
    juce::OutputStream& complainAboutCall();
    /** Says why the arguments do not fit, then the command's usage. */
    int refuseCall (const juce::String& reason);
    /** The answer to --help. */
    int showUsage();

    /** The current directory's view of a file argument. */
    static juce::File fileOf (const juce::String& argument);
    /** Reads a preset file or another program's messages; a further preset there is only noted. */
    juce::Result readPreset (const juce::String& argument, PresetCodec::Image& image,
                             PresetFile::Reading& reading);
    /** Loads a file as a new document that opened it would hold it; on failure says why. */
    bool openDocument (const juce::String& argument, PresetModel& model);
    /** Saves as the editor does: a reader never sees half a preset, a failed write leaves the old
        file as it was, and a refusal (a read-only file) says why. */
    bool writeAtomically (const juce::String& argument, const PresetCodec::Image& image);
    /** Prints "<name>: <a> -> <b>" per shown parameter that differs; gives their number. */
    int printDifferences (const PresetModel& a, const PresetModel& b);

    PresetCommandLine::Environment& environment;
    Arguments arguments;
    juce::OutputStream& out;
    juce::OutputStream& err;

private:
    static juce::OutputStream& startComplaint (juce::OutputStream& err, const juce::String& who,
                                               const juce::String& subject);

    juce::String command;
    juce::String usageText;
};
