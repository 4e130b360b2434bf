#include <gtest/gtest.h>

#include <cstdlib>
#include <juce_events/juce_events.h>

namespace
{
juce::JUCEApplicationBase* noApplication()
{
    return nullptr;
}

/** Brings JUCE's message system up once for the whole run, on the test thread. */
class JuceEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override { initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        initialiser.reset();
    }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};
} // namespace

int main (int argc, char** argv)
{
    // Whatever an application under test keeps for recovery stays out of the user's own state.
    const auto state =
        juce::File::getSpecialLocation (juce::File::tempDirectory)
            .getChildFile ("marlo-test-state-" + juce::String::toHexString (juce::Random().nextInt64()));
#if defined(_WIN32)
    _putenv_s ("LOCALAPPDATA", state.getFullPathName().toRawUTF8());
#else
    setenv ("XDG_STATE_HOME", state.getFullPathName().toRawUTF8(), 1);
#endif
    // With an application factory set JUCE counts as a standalone app, and only then does it
    // install its X error handlers: without them the first X error of a window test ends the run.
    juce::JUCEApplicationBase::createInstance = &noApplication;
    ::testing::InitGoogleTest (&argc, argv);
    ::testing::AddGlobalTestEnvironment (new JuceEnvironment());
    const auto result = RUN_ALL_TESTS();
    state.deleteRecursively();
    return result;
}
