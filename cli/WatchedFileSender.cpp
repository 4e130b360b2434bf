#include "cli/WatchedFileSender.h"

#include "preset/PresetDifference.h"
#include "preset/PresetFile.h"
#include "preset/PresetModel.h"

WatchedFileSender::WatchedFileSender (juce::File watched, PresetTransfer& presetTransfer, bool verifySends)
    : file (std::move (watched)), transfer (presetTransfer), verify (verifySends)
{
    transfer.onGetFinished = [this] (const PresetTransfer::Result& result) { verifyFinished (result); };
}

WatchedFileSender::~WatchedFileSender()
{
    transfer.onGetFinished = nullptr;
}

bool WatchedFileSender::poll (double now)
{
    look (now);
    if (!sendIfDue (now))
        return false;
    startVerifyIfQuiet (now);
    return true;
}

void WatchedFileSender::look (double now)
{
    juce::MemoryBlock content;
    const auto readable = file.existsAsFile() && file.loadFileAsData (content);
    if (seenOnce && readable && content == lastContent)
        return;

    PresetCodec::Image image;
    auto result = readable ? PresetFile::read (file, image) : juce::Result::fail ("it is not there");
    PresetModel model;
    if (result.wasOk())
        result = model.load (image);
    if (result.failed())
    {
        // Said once until the file reads again: an editor's save can pass through this every time.
        if (!std::exchange (unreadableSaid, true) && onUnreadable != nullptr)
            onUnreadable (result.getErrorMessage());
        return;
    }
    unreadableSaid = false;
    seenOnce = true;
    lastContent = std::move (content);
    if (newest.has_value() && *newest == model.getImage())
        return;
    newest = model.getImage();
    schedule.changed (now);
}

bool WatchedFileSender::sendIfDue (double now)
{
    if (!newest.has_value() || !schedule.isDue (now) || transfer.isGetInProgress())
        return true;
    if (lastSent.has_value() && *lastSent == *newest)
    {
        // Back to what the controller already holds: nothing to send.
        schedule.clear();
        return true;
    }
    const auto outcome = transfer.send (*newest);
    if (outcome != PresetTransfer::Outcome::sent)
        return false;
    schedule.sent (now, PresetTransfer::createDumpMessage (*newest).getRawDataSize());
    lastSent = newest;
    if (onReport != nullptr)
        onReport ("sent " + file.getFileName() + " at " + at());
    if (verify)
        verifyAfter = now + SendSchedule::quietMs;
    return true;
}

void WatchedFileSender::startVerifyIfQuiet (double now)
{
    // Only the last send of a burst is asked back: a change still coming would send again anyway.
    if (!verifyAfter.has_value() || schedule.isWaiting() || now < *verifyAfter || now < schedule.wireFreeAt())
        return;
    verifyAfter.reset();
    beingVerified = lastSent;
    transfer.get();
}

void WatchedFileSender::verifyFinished (const PresetTransfer::Result& result)
{
    if (!beingVerified.has_value() || onReport == nullptr)
        return;
    const auto sent = *std::exchange (beingVerified, std::nullopt);
    if (result.outcome != PresetTransfer::Outcome::received)
    {
        onReport ("not verified at " + at() + ": the controller did not answer");
        return;
    }
    PresetModel inFile, inController;
    if (inFile.load (sent).failed() || inController.load (result.image).failed())
    {
        onReport ("not verified at " + at() + ": the controller answered with an invalid preset");
        return;
    }
    const auto differences = PresetDifference::between (inFile, inController);
    if (differences.empty())
    {
        onReport ("verified at " + at());
        return;
    }
    auto line = "not verified at " + at() + ": the controller holds";
    for (const auto& row : differences)
        line << (&row == &differences.front() ? " " : ", ") << row.name << " " << row.second;
    onReport (line);
}

juce::String WatchedFileSender::at() const
{
    return juce::Time::getCurrentTime().toString (false, true, true, true);
}
