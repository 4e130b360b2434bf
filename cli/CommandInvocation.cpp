#include "cli/CommandInvocation.h"

#include "platform/SymbolicLinks.h"
#include "preset/PresetDifference.h"
#include "preset/PresetModel.h"

CommandInvocation::CommandInvocation (PresetCommandLine::Environment& env, const juce::String& commandName,
                                      const juce::String& usage, juce::OutputStream& output,
                                      juce::OutputStream& errors)
    : environment (env), out (output), err (errors), command (commandName), usageText (usage)
{
}

juce::OutputStream& CommandInvocation::startComplaint (juce::OutputStream& stream, const juce::String& who,
                                                       const juce::String& subject)
{
    stream << who << ": ";
    if (subject.isNotEmpty())
        stream << subject << ": ";
    return stream;
}

juce::OutputStream& CommandInvocation::complain (juce::OutputStream& stream, const juce::String& subject)
{
    return startComplaint (stream, PresetCommandLine::programName, subject);
}

juce::OutputStream& CommandInvocation::complain (const juce::String& subject)
{
    return complain (err, subject);
}

juce::OutputStream& CommandInvocation::complainAboutCall()
{
    return startComplaint (err, PresetCommandLine::programName + " " + command, {});
}

int CommandInvocation::refuseCall (const juce::String& reason)
{
    complainAboutCall() << reason << "\n" << usageText;
    return PresetCommandLine::usageOrFileError;
}

int CommandInvocation::showUsage()
{
    out << usageText;
    return PresetCommandLine::success;
}

juce::File CommandInvocation::fileOf (const juce::String& argument)
{
    return SymbolicLinks::fileNamed (juce::File::getCurrentWorkingDirectory(), argument);
}

juce::Result CommandInvocation::readPreset (const juce::String& argument, PresetCodec::Image& image,
                                            PresetFile::Reading& reading)
{
    const auto result = PresetFile::read (fileOf (argument), image, &reading);
    if (result.wasOk() && reading.presets > 1)
        complain (argument) << "holds " << reading.presets << " presets; the first is read\n";
    return result;
}

bool CommandInvocation::openDocument (const juce::String& argument, PresetModel& model)
{
    PresetCodec::Image image;
    PresetFile::Reading reading;
    auto result = readPreset (argument, image, reading);
    if (result.wasOk())
        result = model.load (image);
    if (result.failed())
        complain (argument) << result.getErrorMessage() << "\n";
    return result.wasOk();
}

bool CommandInvocation::writeAtomically (const juce::String& argument, const PresetCodec::Image& image)
{
    const auto file = fileOf (argument);
    const auto written =
        file.isDirectory() ? juce::Result::fail ("it is a folder") : PresetFile::write (file, image);
    if (written.wasOk())
        return true;
    complain (argument) << "cannot be written: " << written.getErrorMessage() << "\n";
    return false;
}

int CommandInvocation::printDifferences (const PresetModel& a, const PresetModel& b)
{
    const auto rows = PresetDifference::between (a, b);
    for (const auto& row : rows)
        out << row.name << ": " << row.first << " -> " << row.second << "\n";
    return static_cast<int> (rows.size());
}
