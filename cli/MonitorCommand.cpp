#include "cli/MonitorCommand.h"

#include "cli/CommandInvocation.h"
#include "cli/InterruptRequest.h"
#include "midi/MidiMonitor.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ControlMatcher.h"
#include "preset/ControlPlayer.h"
#include "preset/PresetFile.h"
#include "preset/PresetModel.h"
#include "preset/ShownValue.h"

const juce::String MonitorCommand::synopsis (
    "monitor [--in NAME] [--preset FILE] [--json] [--count N] [--seconds S] [--simulated-device "
    "[--play CONTROL=VALUE]...]");

const juce::String MonitorCommand::description (
    "Prints each MIDI message that arrives at input NAME, one line each: kind, channel (1-16), number,\n"
    "a note's name (middle C, 60, is C3, so 0 is C-2 and 127 is G8; some programs call middle C C4)\n"
    "and value, then the controls of the preset that send such a message (\"Knob 1\", \"Pad 5\"), in the\n"
    "preset's order: keybed, wheels, sustain, knobs, pads, switches. The preset is FILE, else the\n"
    "factory preset. --json prints one object a line with the keys \"kind\" (\"note on\", \"note off\",\n"
    "\"cc\", \"program\", \"pitch bend\", \"aftertouch\", \"sysex\", \"preset dump\", \"preset request\",\n"
    "\"preset reply\", ...), \"channel\", \"number\" and \"value\" (null where the message has none),\n"
    "\"control\" (the first matching control, or null) and \"controls\" (all of them); a system-exclusive\n"
    "message adds its \"length\". It ends after N messages, after S seconds or on Ctrl+C, with exit 0\n"
    "and every line written. --simulated-device offers the simulated Marlo, which holds the preset and\n"
    "is listened to when --in is not given; each --play is played on it in order once the monitor\n"
    "listens: a number for the knobs and the mod wheel (kept within Min and Max), -8192 to 8191 for\n"
    "the pitch wheel, \"press\" or \"release\" for pads, switches and sustain. Messages that came faster\n"
    "than they could be taken are counted at the end (\"1,204 messages not shown\").");

namespace
{
/** The options that take a value. */
const juce::StringArray valued{"--in", "--preset", "--count", "--seconds", "--play"};

juce::Result setOption (const juce::String& name, const juce::String& value, MonitorCommand::Options& options)
{
    if (name == "--in")
        options.input = value;
    else if (name == "--preset")
        options.presetFile = value;
    else if (name == "--play")
        options.plays.add (value);
    else if (name == "--count")
    {
        options.count = value.getIntValue();
        if (!value.containsOnly ("0123456789") || value.length() > 9 || options.count <= 0)
            return juce::Result::fail ("--count takes a whole number above 0, not \"" + value + "\"");
    }
    else if (name == "--seconds")
    {
        options.seconds = value.getDoubleValue();
        if (!value.containsOnly ("0123456789.") || !(options.seconds > 0.0))
            return juce::Result::fail ("--seconds takes a number above 0, not \"" + value + "\"");
    }
    else if (name == "--json")
        options.json = true;
    else if (name == "--simulated-device")
        options.simulated = true;
    else if (name == "--help" || name == "-h")
        options.help = true;
    else
        return juce::Result::fail ("unknown option " + name);
    return juce::Result::ok();
}

juce::String thousands (juce::int64 number)
{
    auto digits = juce::String (number);
    for (int i = digits.length() - 3; i > 0; i -= 3)
        digits = digits.substring (0, i) + "," + digits.substring (i);
    return digits;
}

juce::var orNull (int value)
{
    return value == MonitoredMessage::none ? juce::var() : juce::var (value);
}

juce::String jsonLine (const MonitoredMessage& message, const juce::StringArray& controls)
{
    auto object = std::make_unique<juce::DynamicObject>();
    object->setProperty ("kind", MonitoredMessage::kindName (message.kind));
    object->setProperty ("channel", orNull (message.channel));
    object->setProperty ("number", orNull (message.number));
    object->setProperty ("value", orNull (message.value));
    object->setProperty ("control", controls.isEmpty() ? juce::var() : juce::var (controls[0]));
    juce::Array<juce::var> names;
    for (const auto& name : controls)
        names.add (name);
    object->setProperty ("controls", names);
    if (message.isSystemExclusive())
        object->setProperty ("length", message.length);
    return juce::JSON::toString (juce::var (object.release()), true);
}

juce::String textLine (const MonitoredMessage& message, const juce::StringArray& controls)
{
    return controls.isEmpty() ? message.toText() : message.toText() + "  " + controls.joinIntoString (", ");
}

/** Lets the simulated controller wait for the monitor while both live, and never after. */
struct RoomCheck
{
    RoomCheck (SimulatedMarlo* device, const MidiMonitor& monitor) : marlo (device)
    {
        if (marlo != nullptr)
            marlo->setRoomCheck ([&monitor] { return monitor.hasRoomForInput(); });
    }
    ~RoomCheck()
    {
        if (marlo != nullptr)
            marlo->setRoomCheck (nullptr);
    }
    RoomCheck (const RoomCheck&) = delete;
    RoomCheck& operator= (const RoomCheck&) = delete;

    SimulatedMarlo* marlo;
};
} // namespace

MonitorCommand::MonitorCommand (CommandInvocation& call) : invocation (call) {}

juce::Result MonitorCommand::parse (const juce::StringArray& arguments, Options& options)
{
    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        if (!argument.startsWith ("-"))
            return juce::Result::fail ("unexpected argument \"" + argument + "\"");
        const auto name = argument.upToFirstOccurrenceOf ("=", false, false);
        juce::String value;
        if (valued.contains (name))
        {
            if (argument.containsChar ('='))
                value = argument.fromFirstOccurrenceOf ("=", false, false);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else
                return juce::Result::fail (name + " needs a value");
        }
        if (const auto set = setOption (name, value, options); set.failed())
            return set;
    }
    if (options.help)
        return juce::Result::ok();
    if (options.input.isEmpty() && !options.simulated)
        return juce::Result::fail ("--in NAME is required");
    if (!options.plays.isEmpty() && !options.simulated)
        return juce::Result::fail ("--play needs --simulated-device");
    return juce::Result::ok();
}

int MonitorCommand::run()
{
    Options options;
    const auto parsed = parse (invocation.arguments.given, options);
    if (options.help)
        return invocation.showUsage();
    if (parsed.failed())
        return invocation.refuseCall (parsed.getErrorMessage());

    PresetModel model;
    if (options.presetFile.isNotEmpty())
    {
        PresetCodec::Image image;
        auto read = PresetFile::read (CommandInvocation::fileOf (options.presetFile), image);
        if (read.wasOk())
            read = model.load (image);
        if (read.failed())
        {
            invocation.complain (options.presetFile) << read.getErrorMessage() << "\n";
            return PresetCommandLine::usageOrFileError;
        }
    }

    // Every play is checked before any is sent, so that a typo sends nothing.
    ControlPlayer rehearsal;
    for (const auto& play : options.plays)
    {
        std::vector<juce::MidiMessage> messages;
        if (const auto played = rehearsal.play (model.getImage(), play, messages); played.failed())
        {
            invocation.complainAboutCall() << "--play " << play << ": " << played.getErrorMessage() << "\n";
            return PresetCommandLine::usageOrFileError;
        }
    }
    return listen (options, model.getImage());
}

int MonitorCommand::listen (const Options& options, const PresetCodec::Image& preset)
{
    auto& environment = invocation.environment;
    auto& out = invocation.out;
    MidiManager midi (environment.makePorts (options.simulated));
    auto* marlo = options.simulated ? midi.getPorts().getSimulatedMarlo() : nullptr;
    if (marlo != nullptr)
        marlo->setPreset (preset);

    const auto input = options.input.isNotEmpty() ? options.input : juce::String (SimulatedMarlo::deviceName);
    if (!midi.getPorts().getInputNames().contains (input))
    {
        invocation.complain() << "there is no MIDI input named \"" << input << "\" (see \""
                              << PresetCommandLine::programName << " ports\")\n";
        return PresetCommandLine::negative;
    }
    midi.setInputDevice (input);
    if (!midi.isInputOpen())
    {
        invocation.complain() << "the MIDI input \"" << input << "\" cannot be opened\n";
        return PresetCommandLine::negative;
    }

    MidiMonitor monitor (midi, environment.makeTimer());
    const ControlMatcher matcher (preset);
    int written = 0;
    const auto enough = [&] { return options.count > 0 && written >= options.count; };
    monitor.onRecord = [&] (const MonitorRecord& record)
    {
        if (enough())
            return;
        const auto message = record.describe();
        const auto controls = matcher.controlsSending (message);
        out << (options.json ? jsonLine (message, controls) : textLine (message, controls)) << "\n";
        ++written;
    };

    if (!options.plays.isEmpty() && marlo == nullptr)
    {
        invocation.complain() << "there is no simulated Marlo to play\n";
        return PresetCommandLine::negative;
    }
    const RoomCheck roomCheck (marlo, monitor);
    for (const auto& play : options.plays)
        marlo->play (play);

    const auto start = environment.nowMs();
    environment.runUntil (
        [&]
        {
            out.flush();
            return enough() || InterruptRequest::wasRequested() ||
                   (options.seconds > 0.0 && environment.nowMs() - start >= options.seconds * 1000.0);
        });
    // What arrived before the end is written too.
    monitor.drain();
    out.flush();

    if (monitor.getDroppedCount() > 0)
        invocation.complain() << thousands (monitor.getDroppedCount()) << " messages not shown\n";
    return PresetCommandLine::success;
}
