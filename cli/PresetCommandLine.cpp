#include "cli/PresetCommandLine.h"

#include "cli/ConsoleDialogs.h"
#include "cli/InterruptRequest.h"
#include "cli/MonitorCommand.h"
#include "midi/MidiManager.h"
#include "midi/PresetTransfer.h"
#include "midi/SystemMidiPorts.h"
#include "midi/TransferAlerts.h"
#include "platform/FileIdentity.h"
#include "platform/FileLock.h"
#include "platform/SymbolicLinks.h"
#include "preset/ParameterIndex.h"
#include "preset/PresetDifference.h"
#include "preset/PresetFile.h"
#include "preset/PresetModel.h"
#include "preset/ShownValue.h"

#include <cstdio>
#include <juce_events/juce_events.h>
#include <optional>

const juce::String PresetCommandLine::programName ("marlo-preset");

namespace
{
using Code = PresetCommandLine::ExitCode;

struct Command
{
    juce::String name;
    juce::String synopsis;
    juce::String description;
    /** The options it takes; those ending in '=' take a value. */
    juce::StringArray options;
    int minimumFiles = 1;
    int maximumFiles = 1;
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> table{
        {"new",
         "new FILE",
         "Writes the factory preset a new document starts from. An existing FILE is kept.",
         {},
         1,
         1},
        {"show",
         "show [--json] FILE",
         "Prints \"<name> = <value>\" for each parameter the current mode of each control shows, in\n"
         "section order, with values as the editor shows them. --json prints one object instead.\n"
         "FILE is a preset file or a \".syx\" file of system-exclusive messages that another MIDI\n"
         "program saved; its first preset is read, and a further one is noted on stderr.",
         {"--json"},
         1,
         1},
        {"validate",
         "validate FILE...",
         "Checks that every file (\"*.marlo\" or \".syx\") would load in the editor. Prints\n"
         "\"FILE: reason\" for each that would not.\n"
         "Exit 0: all valid; 1: one or more invalid; 2: one or more could not be read.",
         {},
         1,
         1 << 20},
        {"diff",
         "diff A B",
         "Prints \"<name>: <a> -> <b>\" for each shown parameter that differs. Exit 0: the same; 1: "
         "different.\nA and B may each be a preset file or a \".syx\" file.",
         {},
         2,
         2},
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
         {},
         1,
         1},
        {"convert",
         "convert IN OUT",
         "Writes the preset read from IN (a preset file or a \".syx\" file) to OUT as its extension says:\n"
         "\".marlo\" a preset file, \".syx\" the dump message the editor sends to the controller (the same\n"
         "103 bytes). OUT is replaced at once by a complete new file.",
         {},
         2,
         2},
        {"names",
         "names",
         "Lists every parameter a preset has, one a line: \"<name>: <values>\", the range of a number\n"
         "as shown (\"1 to 16\") or the modes a \"Mode\" takes; where only some modes show a parameter,\n"
         "which.",
         {},
         0,
         0},
        {"ports",
         "ports [--simulated-device]",
         "Lists the MIDI inputs (\"in: NAME\") and outputs (\"out: NAME\"); says so on stderr when there\n"
         "are none, and when there is no MIDI service at all.",
         {"--simulated-device"},
         0,
         0},
        {"send",
         "send FILE --out NAME [--simulated-device]",
         "Sends the preset in FILE (a preset file or a \".syx\" file) to the controller on output NAME.",
         {"--out=", "--simulated-device"},
         1,
         1},
        {"get",
         "get FILE --in NAME --out NAME [--simulated-device]",
         "Asks the controller for its preset, repeating the request as the editor does, and writes the\n"
         "reply to FILE. Exit 1 when the controller does not answer in time or answers with an invalid\n"
         "preset; FILE is then untouched.",
         {"--in=", "--out=", "--simulated-device"},
         1,
         1},
        {"compare",
         "compare FILE --in NAME --out NAME [--simulated-device]",
         "Asks the controller for its preset as \"get\" does, without writing anything, and prints\n"
         "\"<name>: <file value> -> <controller value>\" for each shown parameter that differs.\n"
         "Exit 0: the same; 1: different, or the controller does not answer or answers with an invalid\n"
         "preset.",
         {"--in=", "--out=", "--simulated-device"},
         1,
         1},
        {"monitor", MonitorCommand::synopsis, MonitorCommand::description, {}, 0, 0}};
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

/** The arguments of one command, split into files and options. */
struct Arguments
{
    juce::StringArray files;
    juce::StringPairArray values;
    juce::StringArray flags;
    bool help = false;
};

/** Fails with the usage text's first line when the arguments do not fit the command. */
juce::Result parse (const Command& command, const juce::StringArray& raw, Arguments& parsed)
{
    for (int i = 0; i < raw.size(); ++i)
    {
        const auto& argument = raw[i];
        if (argument == "--help" || argument == "-h")
        {
            parsed.help = true;
            continue;
        }
        if (!argument.startsWith ("--") || (command.name == "set" && parsed.files.size() >= 1))
        {
            parsed.files.add (argument);
            continue;
        }
        const auto name = argument.upToFirstOccurrenceOf ("=", false, false);
        if (command.options.contains (name))
            parsed.flags.add (name);
        else if (command.options.contains (name + "="))
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

    // "set" counts its assignments as further arguments; every other command only files.
    const auto files = command.name == "set" ? juce::jmin (parsed.files.size(), 1) : parsed.files.size();
    if (files < command.minimumFiles || files > command.maximumFiles)
        return juce::Result::fail ("wrong number of arguments");
    if (command.name == "set" && parsed.files.size() < 2)
        return juce::Result::fail ("nothing to set");
    for (const auto& option : command.options)
        if (option.endsWith ("=") && command.name != "ports" &&
            !parsed.values.containsKey (option.dropLastCharacters (1)))
            return juce::Result::fail (option.dropLastCharacters (1) + " NAME is required");
    return juce::Result::ok();
}

/** The current directory's view of a file argument. */
juce::File fileOf (const juce::String& argument)
{
    return SymbolicLinks::fileNamed (juce::File::getCurrentWorkingDirectory(), argument);
}

juce::OutputStream& complain (juce::OutputStream& err, const juce::String& argument)
{
    return err << PresetCommandLine::programName << ": " << argument << ": ";
}

/** Reads a preset file or another program's messages; a further preset there is only noted. */
juce::Result readPreset (const juce::String& argument, PresetCodec::Image& image,
                         PresetFile::Reading& reading, juce::OutputStream& err)
{
    const auto result = PresetFile::read (fileOf (argument), image, &reading);
    if (result.wasOk() && reading.presets > 1)
        complain (err, argument) << "holds " << reading.presets << " presets; the first is read\n";
    return result;
}

/** Loads a file as a new document that opened it would hold it; on failure prints why. */
bool openDocument (const juce::String& argument, PresetModel& model, juce::OutputStream& err)
{
    PresetCodec::Image image;
    PresetFile::Reading reading;
    auto result = readPreset (argument, image, reading, err);
    if (result.wasOk())
        result = model.load (image);
    if (result.failed())
        err << PresetCommandLine::programName << ": " << argument << ": " << result.getErrorMessage() << "\n";
    return result.wasOk();
}

/** Saves as the editor does: a reader never sees half a preset, a failed write leaves the old file
    as it was, and a refusal (a read-only file) says why. */
bool writeAtomically (const juce::String& argument, const PresetCodec::Image& image, juce::OutputStream& err)
{
    const auto file = fileOf (argument);
    const auto written =
        file.isDirectory() ? juce::Result::fail ("it is a folder") : PresetFile::write (file, image);
    if (written.wasOk())
        return true;
    err << PresetCommandLine::programName << ": " << argument
        << ": cannot be written: " << written.getErrorMessage() << "\n";
    return false;
}

juce::String textOf (const juce::var& value)
{
    return PresetDifference::textOf (value);
}

int newFile (const Arguments& arguments, juce::OutputStream& err)
{
    const auto& target = arguments.files[0];
    if (fileOf (target).exists())
    {
        err << PresetCommandLine::programName << ": " << target << ": already exists; it is left as it is"
            << "\n";
        return Code::usageOrFileError;
    }
    return writeAtomically (target, PresetModel().getImage(), err) ? Code::success : Code::usageOrFileError;
}

int show (const Arguments& arguments, juce::OutputStream& out, juce::OutputStream& err)
{
    PresetModel model;
    if (!openDocument (arguments.files[0], model, err))
        return Code::usageOrFileError;

    if (arguments.flags.contains ("--json"))
    {
        auto object = std::make_unique<juce::DynamicObject>();
        for (const auto& name : model.getShownNames())
            object->setProperty (name, ShownValue::of (model, name));
        out << juce::JSON::toString (juce::var (object.release())) << "\n";
        return Code::success;
    }
    for (const auto& name : model.getShownNames())
        out << name << " = " << textOf (ShownValue::of (model, name)) << "\n";
    return Code::success;
}

int validate (const Arguments& arguments, juce::OutputStream& out, juce::OutputStream& err)
{
    int code = Code::success;
    for (const auto& argument : arguments.files)
    {
        PresetCodec::Image image;
        PresetFile::Reading reading;
        const auto result = readPreset (argument, image, reading, err);
        if (result.wasOk())
            continue;
        out << argument << ": " << result.getErrorMessage() << "\n";
        code = juce::jmax (code,
                           static_cast<int> (reading.unreadable ? Code::usageOrFileError : Code::negative));
    }
    return code;
}

/** Prints "<name>: <a> -> <b>" per shown parameter that differs; gives their number. */
int printDifferences (const PresetModel& a, const PresetModel& b, juce::OutputStream& out)
{
    const auto rows = PresetDifference::between (a, b);
    for (const auto& row : rows)
        out << row.name << ": " << row.first << " -> " << row.second << "\n";
    return static_cast<int> (rows.size());
}

int diff (const Arguments& arguments, juce::OutputStream& out, juce::OutputStream& err)
{
    PresetModel a, b;
    if (!openDocument (arguments.files[0], a, err) || !openDocument (arguments.files[1], b, err))
        return Code::usageOrFileError;
    return printDifferences (a, b, out) == 0 ? Code::success : Code::negative;
}

/** Whether two names reach one file, through links or other spellings of its path. */
bool namesSameFile (const juce::File& first, const juce::File& second)
{
    return FileIdentity::sameFile (first, second);
}

int convert (const Arguments& arguments, juce::OutputStream& err)
{
    // A preset file is the dump message itself, so both kinds take the same bytes; the extension
    // says which the user meant, and anything else is more likely a slip than a wish.
    const auto& target = arguments.files[1];
    const auto extension = fileOf (target).getFileExtension().toLowerCase();
    if (extension != ".marlo" && extension != ".syx")
    {
        complain (err, target)
            << "OUT must end in \".marlo\" (a preset file) or \".syx\" (the dump message)\n";
        return Code::usageOrFileError;
    }
    // Written onto itself, another program's file would keep only its preset, as set would make it.
    if (namesSameFile (fileOf (arguments.files[0]), fileOf (target)))
    {
        complain (err, target) << "is IN itself; convert writes a new file and leaves IN as it is\n";
        return Code::negative;
    }
    PresetModel model;
    if (!openDocument (arguments.files[0], model, err))
        return Code::usageOrFileError;
    return writeAtomically (target, model.getImage(), err) ? Code::success : Code::usageOrFileError;
}

/** The parameter a typed name means, whatever the case of its letters; an unknown name fails with
    the names nearest to it. */
juce::Result parameterNamed (const juce::String& typed, juce::String& name)
{
    if (const auto* entry = ParameterIndex::findIgnoringCase (typed))
    {
        name = entry->name;
        return juce::Result::ok();
    }
    auto problem = "there is no parameter \"" + typed + "\"";
    if (const auto nearest = ParameterIndex::nearest (typed, 3); !nearest.isEmpty())
        problem << " (the nearest: \"" << nearest.joinIntoString ("\", \"") << "\")";
    return juce::Result::fail (problem);
}

/** "1 to 16", or the modes of a mode selector; and which modes show it, where not all do. */
juce::String valuesOf (const ParameterIndex::Entry& entry)
{
    const auto& spec = entry.parameter->spec;
    if (entry.parameter->label == ControlSchema::modeLabel)
        return entry.schema->getModeNames().joinIntoString (", ");
    auto text = juce::String (spec.minimum) + " to " + juce::String (spec.maximum);
    juce::StringArray showing;
    for (const auto& mode : entry.schema->getModes())
        if (mode.labels.contains (entry.parameter->label))
            showing.add (mode.name);
    if (showing.size() < static_cast<int> (entry.schema->getModes().size()))
        text << " (when Mode is " << showing.joinIntoString (" or ") << ")";
    return text;
}

int names (juce::OutputStream& out)
{
    for (const auto& entry : ParameterIndex::all())
        out << entry.name << ": " << valuesOf (entry) << "\n";
    return Code::success;
}

int set (const Arguments& arguments, juce::OutputStream& err)
{
    const auto& target = arguments.files[0];
    // Held from the read to the write, so that a set running at the same time on the same file
    // reads what this one wrote instead of writing over it.
    // A script may run many sets on one file; each waits its turn longer than a save in the editor.
    const FileLock lock (fileOf (target), 30000, &InterruptRequest::wasRequested);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    if (lock.getStatus().failed())
    {
        err << PresetCommandLine::programName << ": " << target
            << ": cannot be locked: " << lock.getStatus().getErrorMessage() << "\n";
        return Code::usageOrFileError;
    }
    // Rewriting another program's file would drop everything in it but the preset.
    if (PresetFile::isForeign (fileOf (target)))
    {
        complain (err, target) << "is not a preset file; set writes only preset files: \""
                               << PresetCommandLine::programName << " convert " << target
                               << " NEW.marlo\" makes one\n";
        return Code::negative;
    }
    PresetModel model;
    if (!openDocument (target, model, err))
        return Code::usageOrFileError;

    for (int i = 1; i < arguments.files.size(); ++i)
    {
        const auto& assignment = arguments.files[i];
        if (!assignment.containsChar ('='))
        {
            err << PresetCommandLine::programName << ": \"" << assignment << "\" is not NAME=VALUE; "
                << target << " is unchanged"
                << "\n";
            return Code::usageOrFileError;
        }
        juce::String name;
        const auto text = assignment.fromFirstOccurrenceOf ("=", false, false);
        int stored = 0;
        auto result = parameterNamed (assignment.upToFirstOccurrenceOf ("=", false, false).trim(), name);
        if (result.wasOk())
            result = ShownValue::parse (name, text, stored);
        // The user can only type into a box that is on the screen: one the mode hides is not
        // there to edit, and writing it would change the byte of the box that is shown.
        if (result.wasOk() && !model.getShownNames().contains (name))
            result = juce::Result::fail (name + " is not shown in the current mode of its control");
        if (result.wasOk())
            result = model.setStoredValue (name, stored);
        if (result.failed())
        {
            err << PresetCommandLine::programName << ": " << target << ": " << result.getErrorMessage()
                << "; the file is unchanged"
                << "\n";
            return Code::negative;
        }
    }
    if (const auto checked = PresetCodec::checkImage (model.getImage()); checked.failed())
    {
        err << PresetCommandLine::programName << ": " << target << ": " << checked.getErrorMessage()
            << "; the file is unchanged"
            << "\n";
        return Code::negative;
    }
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    return writeAtomically (target, model.getImage(), err) ? Code::success : Code::usageOrFileError;
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

namespace
{
/** The MIDI side of one transfer command. Alerts go to the error stream, as the editor's
    dialogs would show them. */
struct Transfer
{
    Transfer (PresetCommandLine::Environment& environment, const Arguments& arguments,
              juce::OutputStream& err)
        : dialogs (err, PresetCommandLine::programName + ": "),
          midi (environment.makePorts (arguments.flags.contains ("--simulated-device"))),
          transfer (midi, environment.makeTimer())
    {
    }

    /** Opens a device by name; false, after saying so in the tool's words, when there is none of
        that name. */
    bool open (const juce::String& name, bool input, juce::OutputStream& err)
    {
        auto& ports = midi.getPorts();
        if (!(input ? ports.getInputNames() : ports.getOutputNames()).contains (name))
        {
            err << PresetCommandLine::programName << ": there is no MIDI " << (input ? "input" : "output")
                << " named \"" << name << "\" (see \"" << PresetCommandLine::programName << " ports\")"
                << "\n";
            return false;
        }
        if (input)
            midi.setInputDevice (name);
        else
            midi.setOutputDevice (name);
        return true;
    }

    ConsoleDialogs dialogs;
    MidiManager midi;
    PresetTransfer transfer;
};

int ports (PresetCommandLine::Environment& environment, const Arguments& arguments, juce::OutputStream& out,
           juce::OutputStream& err)
{
    auto devices = environment.makePorts (arguments.flags.contains ("--simulated-device"));
    const auto inputs = devices->getInputNames();
    const auto outputs = devices->getOutputNames();
    for (const auto& name : inputs)
        out << "in: " << name << "\n";
    for (const auto& name : outputs)
        out << "out: " << name << "\n";
    if (inputs.isEmpty() && outputs.isEmpty())
        err << PresetCommandLine::programName << ": there are no MIDI inputs or outputs\n";
    return Code::success;
}

int send (PresetCommandLine::Environment& environment, const Arguments& arguments, juce::OutputStream& err)
{
    PresetModel model;
    if (!openDocument (arguments.files[0], model, err))
        return Code::usageOrFileError;

    Transfer transfer (environment, arguments, err);
    if (!transfer.open (arguments.values["--out"], false, err))
        return Code::negative;
    const auto outcome = transfer.transfer.send (model.getImage());
    TransferAlerts::show (outcome);
    return outcome == PresetTransfer::Outcome::sent ? Code::success : Code::negative;
}

/** Gets the controller's preset as a document that received it would load it. The editor's
    alerts go to the error stream: on success only when `reportSuccess`. */
std::optional<PresetModel> fetch (PresetCommandLine::Environment& environment, const Arguments& arguments,
                                  juce::OutputStream& err, bool reportSuccess)
{
    Transfer transfer (environment, arguments, err);
    if (!transfer.open (arguments.values["--in"], true, err) ||
        !transfer.open (arguments.values["--out"], false, err))
        return std::nullopt;
    std::optional<PresetTransfer::Result> result;
    transfer.transfer.onGetFinished = [&result] (const PresetTransfer::Result& r) { result = r; };
    transfer.transfer.get();
    environment.waitForTransfer (transfer.transfer,
                                 [&] { return result.has_value() || InterruptRequest::wasRequested(); });
    if (InterruptRequest::wasRequested())
        return std::nullopt;

    if (!result.has_value())
    {
        err << PresetCommandLine::programName << ": the get did not finish"
            << "\n";
        return std::nullopt;
    }
    PresetModel model;
    const auto loaded = result->outcome == PresetTransfer::Outcome::received ? model.load (result->image)
                                                                             : juce::Result::ok();
    const auto outcome = loaded.wasOk() ? result->outcome : PresetTransfer::Outcome::invalidReply;
    if (outcome != PresetTransfer::Outcome::received || reportSuccess)
        TransferAlerts::show (outcome);
    if (outcome != PresetTransfer::Outcome::received)
        return std::nullopt;
    return model;
}

int get (PresetCommandLine::Environment& environment, const Arguments& arguments, juce::OutputStream& err)
{
    const auto& target = arguments.files[0];
    if (fileOf (target).isDirectory())
    {
        complain (err, target) << "is a folder\n";
        return Code::usageOrFileError;
    }
    const auto model = fetch (environment, arguments, err, true);
    if (!model.has_value())
        return InterruptRequest::wasRequested() ? Code::interrupted : Code::negative;
    // Taken here, so that a Ctrl+C while the write waits for another's lock still writes nothing.
    const FileLock lock (fileOf (target), FileLock::defaultWaitMs, &InterruptRequest::wasRequested);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    return writeAtomically (target, model->getImage(), err) ? Code::success : Code::usageOrFileError;
}

int compare (PresetCommandLine::Environment& environment, const Arguments& arguments, juce::OutputStream& out,
             juce::OutputStream& err)
{
    PresetModel inFile;
    if (!openDocument (arguments.files[0], inFile, err))
        return Code::usageOrFileError;
    const auto inController = fetch (environment, arguments, err, false);
    if (InterruptRequest::wasRequested())
        return Code::interrupted;
    if (!inController.has_value())
        return Code::negative;
    return printDifferences (inFile, *inController, out) == 0 ? Code::success : Code::negative;
}
} // namespace

bool PresetCommandLine::waits (const juce::String& command)
{
    return juce::StringArray{"get", "compare", "set", "monitor"}.contains (command);
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
        err << programName << ": unknown command \"" << name << "\"\n\n" << overallUsage();
        return Code::usageOrFileError;
    }
    // Before any port or lock is opened: a Ctrl+C from then on ends the command on its terms.
    std::optional<InterruptRequest> interrupt;
    if (waits (name))
        interrupt.emplace();

    // Said once, when the command first reaches for the system's devices: not for a usage error,
    // and not when only the simulated Marlo was asked for.
    auto reaching = environment;
    reaching.makePorts = [this, &err, said = false] (bool withSimulatedDevice) mutable
    {
        if (!withSimulatedDevice && !std::exchange (said, true) && environment.missingMidiService != nullptr)
            if (const auto missing = environment.missingMidiService(); missing.isNotEmpty())
                err << programName << ": " << missing << "\n";
        return environment.makePorts (withSimulatedDevice);
    };

    // The monitor repeats --play, which the shared parser would keep only once.
    if (name == "monitor")
        return MonitorCommand (reaching, out, err)
            .run (juce::StringArray (arguments.begin() + 1, arguments.size() - 1), usageOf (*command));

    Arguments parsed;
    const auto parsedOk =
        parse (*command, juce::StringArray (arguments.begin() + 1, arguments.size() - 1), parsed);
    if (parsed.help)
    {
        out << usageOf (*command);
        return Code::success;
    }
    if (parsedOk.failed())
    {
        err << programName << " " << command->name << ": " << parsedOk.getErrorMessage() << "\n"
            << usageOf (*command);
        return Code::usageOrFileError;
    }

    if (name == "new")
        return newFile (parsed, err);
    if (name == "show")
        return show (parsed, out, err);
    if (name == "validate")
        return validate (parsed, out, err);
    if (name == "diff")
        return diff (parsed, out, err);
    if (name == "set")
        return set (parsed, err);
    if (name == "convert")
        return convert (parsed, err);
    if (name == "compare")
        return compare (reaching, parsed, out, err);
    if (name == "names")
        return names (out);
    if (name == "ports")
        return ports (reaching, parsed, out, err);
    if (name == "send")
        return send (reaching, parsed, err);
    return get (reaching, parsed, err);
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
