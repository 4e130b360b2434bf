#include "midi/TransferTimer.h"

#include <juce_events/juce_events.h>

namespace
{
class SystemTransferTimer final : public TransferTimer, private juce::Timer
{
public:
    ~SystemTransferTimer() override { stopTimer(); }

    void start (int intervalMs) override { startTimer (intervalMs); }
    void stop() override { stopTimer(); }
    bool isRunning() const override { return isTimerRunning(); }
    int getInterval() const override { return getTimerInterval(); }

private:
    void timerCallback() override
    {
        if (onTick != nullptr)
            onTick();
    }
};
} // namespace

std::unique_ptr<TransferTimer> TransferTimer::createSystemTimer()
{
    return std::make_unique<SystemTransferTimer>();
}
