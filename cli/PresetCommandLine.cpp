#include "cli/PresetCommandLine.h"

#include "cli/CommandInvocation.h"
#include "cli/DetectCommand.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/InterruptRequest.h"
#include "cli/LibraryCommands.h"
#include "cli/MonitorCommand.h"
#include "cli/ParameterCommands.h"
#include "cli/WatchCommand.h"
#include "midi/SystemMidiPorts.h"

#include <cstdio>
#include <juce_events/juce_events.h>
#include <optional>

const juce::String PresetCommandLine::programName ("marlo-preset");

namespace
{
using Code = PresetCommandLine::ExitCode;
using Arguments = CommandInvocation::Arguments;

/** How a command's arguments are read. */
struct ArgumentRule
{
    /** The options it takes; those ending in '=' take a value, which the command needs; those
        ending in "=?" take a value and may be left out. */
    juce::StringArray options;
    int minimumFiles = 1;
    int maximumFiles = 1;
    /** At least one NAME=VALUE follows the file; they may start with "--". */
    bool assignmentsFollow = false;
    /** The command reads all its arguments itself. */
    bool ownOptions = false;
};

struct Command
{
    juce::String name;
    juce::String synopsis;
    juce::String description;
    ArgumentRule rule;
    /** It waits (for a device or a lock), and so takes Ctrl+C as a request to stop rather than
        dying by it. */
    bool waits = false;
    int (*handler) (CommandInvocation&) = nullptr;
};

int monitor (CommandInvocation& invocation)
{
    return MonitorCommand (invocation).run();
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> table{
        {"new",
         "new FILE",
         "Writes the factory preset a new document starts from. An existing FILE is kept.",
         {{}, 1, 1},
         false,
         &FileCommands::newFile},
        {"show",
         "show [--json] FILE",
         "Prints \"<name> = <value>\" for each parameter the current mode of each control shows, in\n"
         "section order, with values as the editor shows them. --json prints one object instead.\n"
         "FILE is a preset file or a \".syx\" file of system-exclusive messages that another MIDI\n"
         "program saved; its first preset is read, and a further one is noted on stderr.",
         {{"--json"}, 1, 1},
         false,
         &FileCommands::show},
        {"validate",
         "validate FILE...",
         "Checks that every file (\"*.marlo\" or \".syx\") would load in the editor. Prints\n"
         "\"FILE: reason\" for each that would not.\n"
         "Exit 0: all valid; 1: one or more invalid; 2: one or more could not be read.",
         {{}, 1, 1 << 20},
         false,
         &FileCommands::validate},
        {"diff",
         "diff A B",
         "Prints \"<name>: <a> -> <b>\" for each shown parameter that differs. Exit 0: the same; 1: "
         "different.\nA and B may each be a preset file or a \".syx\" file.",
         {{}, 2, 2},
         false,
         &FileCommands::diff},
        {"set",
         "set FILE NAME=VALUE...",
         "Changes parameters as the editor would in a document that opened FILE, in the order given,\n"
         "e.g. \"Keybed Transpose=-5\" \"Pad 1 Mode=CC Toggle\". Values as shown: channels 1-16, modes by\n"
         "name. NAME is matched ignoring case (\"names\" lists them all); an unknown one is refused\n"
         "with the nearest names. A parameter the control's mode hides cannot be set. All or nothing:\n"
         "on any refusal (exit 1) the file is untouched; otherwise it is replaced at once by a complete\n"
         "new file.\n"
         "FILE must be a preset file: any other file, such as a \".syx\" another program wrote, is\n"
         "refused (exit 1); \"convert\" makes a preset file of it.",
         {{}, 1, 1, true},
         true,
         &ParameterCommands::set},
        {"convert",
         "convert IN OUT",
         "Writes the preset read from IN (a preset file or a \".syx\" file) to OUT as its extension says:\n"
         "\".marlo\" a preset file, \".syx\" the dump message the editor sends to the controller (the same\n"
         "103 bytes). OUT is replaced at once by a complete new file.",
         {{}, 2, 2},
         false,
         &FileCommands::convert},
        {"names",
         "names",
         "Lists every parameter a preset has, one a line: \"<name>: <values>\", the range of a number\n"
         "as shown (\"1 to 16\") or the modes a \"Mode\" takes; where only some modes show a parameter,\n"
         "which.",
         {{}, 0, 0},
         false,
         &ParameterCommands::names},
        {"ports",
         "ports [--simulated-device]",
         "Lists the MIDI inputs (\"in: NAME\") and outputs (\"out: NAME\"); says so on stderr when there\n"
         "are none, and when there is no MIDI service at all.",
         {{"--simulated-device"}, 0, 0},
         false,
         &DeviceCommands::ports},
        {"send",
         "send FILE --out NAME [--in NAME --verify] [--simulated-device]",
         "Sends the preset in FILE (a preset file or a \".syx\" file) to the controller on output NAME.\n"
         "--verify then asks for it back on input NAME as \"compare\" does: exit 0 when the controller\n"
         "holds it; 1, with \"<name>: <file value> -> <controller value>\" for each shown parameter that\n"
         "differs, when it does not or does not answer.",
         {{"--out=", "--in=?", "--verify", "--simulated-device"}, 1, 1},
         true,
         &DeviceCommands::send},
        {"get",
         "get FILE --in NAME --out NAME [--simulated-device]",
         "Asks the controller for its preset, repeating the request as the editor does, and writes the\n"
         "reply to FILE. Exit 1 when the controller does not answer in time or answers with an invalid\n"
         "preset; FILE is then untouched.",
         {{"--in=", "--out=", "--simulated-device"}, 1, 1},
         true,
         &DeviceCommands::get},
        {"compare",
         "compare FILE --in NAME --out NAME [--simulated-device]",
         "Asks the controller for its preset as \"get\" does, without writing anything, and prints\n"
         "\"<name>: <file value> -> <controller value>\" for each shown parameter that differs.\n"
         "Exit 0: the same; 1: different, or the controller does not answer or answers with an invalid\n"
         "preset.",
         {{"--in=", "--out=", "--simulated-device"}, 1, 1},
         true,
         &DeviceCommands::compare},
        {"detect",
         DetectCommand::synopsis,
         DetectCommand::description,
         {{"--wait=?", "--json", "--simulated-device"}, 0, 0},
         true,
         &DetectCommand::run},
        {"watch",
         WatchCommand::synopsis,
         WatchCommand::description,
         {{"--out=", "--in=?", "--verify", "--simulated-device"}, 1, 1},
         true,
         &WatchCommand::run},
        {"search",
         LibraryCommands::searchSynopsis,
         LibraryCommands::searchDescription,
         {{"--json"}, 1, 1 << 20},
         false,
         &LibraryCommands::search},
        {"import",
         LibraryCommands::importSynopsis,
         LibraryCommands::importDescription,
         {{}, 2, 1 << 20},
         false,
         &LibraryCommands::importFiles},
        {"export",
         LibraryCommands::exportSynopsis,
         LibraryCommands::exportDescription,
         {{}, 2, 1 << 20},
         false,
         &LibraryCommands::exportFiles},
        {"duplicates",
         LibraryCommands::duplicatesSynopsis,
         LibraryCommands::duplicatesDescription,
         {{}, 1, 1},
         false,
         &LibraryCommands::duplicates},
        {"monitor",
         MonitorCommand::synopsis,
         MonitorCommand::description,
         {{}, 0, 0, false, true},
         true,
         &monitor}};
    return table;
}

const Command* findCommand (const juce::String& name)
{
    for (const auto& command : commands())
        if (command.name == name)
            return &command;
    return nullptr;
}

juce::String usageOf (const Command& command)
{
    return "usage: " + PresetCommandLine::programName + " " + command.synopsis + "\n\n" +
           command.description + "\n";
}

juce::String overallUsage()
{
    juce::String text = "usage: " + PresetCommandLine::programName +
                        " COMMAND [ARGS]\n\n"
                        "Reads, checks, edits and transfers presets of the Orvane Marlo (\"*.marlo\"), and\n"
                        "reads them from the \".syx\" files other MIDI programs save.\n\n";
    for (const auto& command : commands())
        text << "  " << PresetCommandLine::programName << " " << command.synopsis << "\n";
    text << "\n\"" << PresetCommandLine::programName
         << " COMMAND --help\" describes a command. Exit codes: 0 success or the same, 1 invalid,\n"
            "different, refused or timed out, 2 a usage or file error.\n";
    return text;
}

/** Fails with the usage text's first line when the arguments do not fit the command's rule. */
juce::Result parse (const ArgumentRule& rule, const juce::StringArray& raw, Arguments& parsed)
{
    for (int i = 0; i < raw.size(); ++i)
    {
        const auto& argument = raw[i];
        if (argument == "--help" || argument == "-h")
        {
            parsed.help = true;
            continue;
        }
        if (rule.assignmentsFollow && parsed.files.size() >= 1)
        {
            parsed.assignments.add (argument);
            continue;
        }
        if (!argument.startsWith ("--"))
        {
            parsed.files.add (argument);
            continue;
        }
        const auto name = argument.upToFirstOccurrenceOf ("=", false, false);
        if (rule.options.contains (name))
            parsed.flags.add (name);
        else if (rule.options.contains (name + "=") || rule.options.contains (name + "=?"))
        {
            if (argument.containsChar ('='))
                parsed.values.set (name, argument.fromFirstOccurrenceOf ("=", false, false));
            else if (i + 1 < raw.size())
                parsed.values.set (name, raw[++i]);
            else
                return juce::Result::fail (name + " needs a value");
        }
        else
            return juce::Result::fail ("unknown option " + argument);
    }
    if (parsed.help)
        return juce::Result::ok();

    if (parsed.files.size() < rule.minimumFiles || parsed.files.size() > rule.maximumFiles)
        return juce::Result::fail ("wrong number of arguments");
    if (rule.assignmentsFollow && parsed.assignments.isEmpty())
        return juce::Result::fail ("nothing to set");
    for (const auto& option : rule.options)
        if (option.endsWith ("=") && !parsed.values.containsKey (option.dropLastCharacters (1)))
            return juce::Result::fail (option.dropLastCharacters (1) + " NAME is required");
    return juce::Result::ok();
}

} // namespace

PresetCommandLine::Environment PresetCommandLine::systemEnvironment()
{
    Environment environment;
    environment.makePorts = &SystemMidiPorts::create;
    environment.makeTimer = &TransferTimer::createSystemTimer;
    environment.waitForTransfer = [] (PresetTransfer&, const std::function<bool()>& finished)
    {
        // Every get ends within the transfer's own give-up time; the limit only guards against a
        // loop that never ends.
        const auto end = juce::Time::getMillisecondCounterHiRes() + 30000.0;
        while (!finished() && juce::Time::getMillisecondCounterHiRes() < end)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
    };
    environment.runUntil = [] (const std::function<bool()>& finished)
    {
        while (!finished())
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
    };
    environment.nowMs = &juce::Time::getMillisecondCounterHiRes;
    environment.missingMidiService = &SystemMidiPorts::missingService;
    return environment;
}

PresetCommandLine::PresetCommandLine (Environment env) : environment (std::move (env)) {}

bool PresetCommandLine::waits (const juce::String& command)
{
    const auto* found = findCommand (command);
    return found != nullptr && found->waits;
}

int PresetCommandLine::run (const juce::StringArray& arguments, juce::OutputStream& out,
                            juce::OutputStream& err)
{
    if (arguments.isEmpty())
    {
        err << overallUsage();
        return Code::usageOrFileError;
    }
    const auto& name = arguments[0];
    if (name == "--help" || name == "-h" || name == "help")
    {
        out << overallUsage();
        return Code::success;
    }
    const auto* command = findCommand (name);
    if (command == nullptr)
    {
        CommandInvocation::complain (err) << "unknown command \"" << name << "\"\n\n" << overallUsage();
        return Code::usageOrFileError;
    }
    // Before any port or lock is opened: a Ctrl+C from then on ends the command on its terms.
    std::optional<InterruptRequest> interrupt;
    if (command->waits)
        interrupt.emplace();

    // Said once, when the command first reaches for the system's devices: not for a usage error,
    // and not when only the simulated Marlo was asked for.
    auto reaching = environment;
    reaching.makePorts = [this, &err, said = false] (bool withSimulatedDevice) mutable
    {
        if (!withSimulatedDevice && !std::exchange (said, true) && environment.missingMidiService != nullptr)
            if (const auto missing = environment.missingMidiService(); missing.isNotEmpty())
                CommandInvocation::complain (err) << missing << "\n";
        return environment.makePorts (withSimulatedDevice);
    };

    CommandInvocation invocation (reaching, command->name, usageOf (*command), out, err);
    auto& given = invocation.arguments;
    given.given = juce::StringArray (arguments.begin() + 1, arguments.size() - 1);
    if (!command->rule.ownOptions)
    {
        const auto parsed = parse (command->rule, given.given, given);
        if (given.help)
            return invocation.showUsage();
        if (parsed.failed())
            return invocation.refuseCall (parsed.getErrorMessage());
    }
    return command->handler (invocation);
}

namespace
{
/** A C stream as a JUCE stream: standard output may be a pipe or a terminal, which a
    FileOutputStream, made for seekable files, does not handle. */
class StandardStream final : public juce::OutputStream
{
public:
    explicit StandardStream (std::FILE* stream) : file (stream) {}
    ~StandardStream() override { flush(); }

    void flush() override { std::fflush (file); }
    bool setPosition (juce::int64) override { return false; }
    juce::int64 getPosition() override { return written; }
    bool write (const void* data, size_t size) override
    {
        const auto done = std::fwrite (data, 1, size, file);
        written += static_cast<juce::int64> (done);
        return done == size;
    }

private:
    std::FILE* file;
    juce::int64 written = 0;
};
} // namespace

int PresetCommandLine::runOnStandardStreams (const juce::StringArray& arguments)
{
    StandardStream out (stdout);
    StandardStream err (stderr);
    return run (arguments, out, err);
}
