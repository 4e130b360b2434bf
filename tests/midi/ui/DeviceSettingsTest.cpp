#include <gtest/gtest.h>

#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"
#include "support/SystemUnderTest.h"
#include "support/TemporaryFolder.h"
#include "support/WindowChecks.h"

#include "midi/DeviceManagerWindow.h"
#include "midi/DeviceSettings.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace
{
/** Sets an environment variable for one test and puts back what was there. */
class ScopedEnvironment
{
public:
    ScopedEnvironment (const char* variableName, const char* value) : name (variableName)
    {
        if (const char* old = std::getenv (name))
            previous = old;
        if (value != nullptr)
            SystemUnderTest::setEnvironment (name, value);
        else
            SystemUnderTest::unsetEnvironment (name);
    }

    ~ScopedEnvironment()
    {
        if (previous.has_value())
            SystemUnderTest::setEnvironment (name, previous->c_str());
        else
            SystemUnderTest::unsetEnvironment (name);
    }

private:
    const char* name;
    std::optional<std::string> previous;
};

/** Two inputs and two outputs; remembers what was opened. */
class NamedPorts final : public MidiPorts
{
public:
    explicit NamedPorts (juce::StringArray& openedLog) : opened (openedLog) {}

    juce::StringArray getInputNames() override { return {"Keys In", "Marlo"}; }
    juce::StringArray getOutputNames() override { return {"Synth Out", "Marlo"}; }

    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback&) override
    {
        opened.add ("in:" + getInputNames()[index]);
        return std::make_unique<QuietInput>();
    }

    std::unique_ptr<Output> openOutput (int index) override
    {
        opened.add ("out:" + getOutputNames()[index]);
        return std::make_unique<QuietOutput>();
    }

private:
    struct QuietInput final : public Input
    {
        void start() override {}
    };
    struct QuietOutput final : public Output
    {
        void sendMessageNow (const juce::MidiMessage&) override {}
    };

    juce::StringArray& opened;
};

class DeviceSettingsTest : public ::testing::Test
{
protected:
    ~DeviceSettingsTest() override { delete window.get(); }

    DeviceManagerComponent& openSetup()
    {
        window = new DeviceManagerWindow (midi, &settings);
        return window->getComponent();
    }

    void press (juce::Button& button)
    {
        button.triggerClick();
        runMessageLoopFor (30);
    }

    /** A fresh start: a new MIDI manager that opens whatever the file says. */
    juce::StringArray openedAtStart()
    {
        juce::StringArray openedNow;
        MidiManager restarted{std::make_unique<NamedPorts> (openedNow)};
        DeviceSettings (settings.getFile()).openRemembered (restarted);
        return openedNow;
    }

    RecordingDialogs dialogs;
    TemporaryFolder folder;
    juce::StringArray opened;
    MidiManager midi{std::make_unique<NamedPorts> (opened)};
    DeviceSettings settings{folder / "orvane-marlo-editor/settings.xml"};
    juce::WeakReference<DeviceManagerWindow> window;
};
} // namespace

TEST_F (DeviceSettingsTest, TheFileFollowsTheConfigFolderAndTheInstance)
{
    const auto* variable = SystemUnderTest::settingsVariable();
    const auto configFolder = SystemUnderTest::fullPath ("/tmp/marlo-config");
    {
        const ScopedEnvironment config (variable, configFolder.getFullPathName().toRawUTF8());
        const ScopedEnvironment instance ("MARLO_EDITOR_INSTANCE", nullptr);
        EXPECT_EQ (DeviceSettings::defaultFile(),
                   configFolder.getChildFile ("orvane-marlo-editor/settings.xml"));
    }
    {
        const ScopedEnvironment config (variable, configFolder.getFullPathName().toRawUTF8());
        const ScopedEnvironment instance ("MARLO_EDITOR_INSTANCE", "second");
        EXPECT_EQ (DeviceSettings::defaultFile(),
                   configFolder.getChildFile ("orvane-marlo-editor/settings-second.xml"));
    }
    {
        // Only an absolute path counts; a relative one means the system's default.
        const ScopedEnvironment config (variable, "relative/config");
        const ScopedEnvironment instance ("MARLO_EDITOR_INSTANCE", nullptr);
        EXPECT_EQ (DeviceSettings::defaultFile(), SystemUnderTest::defaultSettingsFolder().getChildFile (
                                                      "orvane-marlo-editor/settings.xml"));
    }
}

TEST_F (DeviceSettingsTest, OffByDefaultNothingIsWrittenAndNothingOpensAtStart)
{
    auto& setup = openSetup();
    EXPECT_FALSE (setup.isRemembering());
    EXPECT_EQ (setup.getRememberBox().getButtonText(), "Open these devices when the editor starts");
    // The check box sits between the lists and the buttons, which moved down to make room.
    EXPECT_GT (setup.getRememberBox().getY(), setup.getOutputList().getBottom());
    EXPECT_LT (setup.getRememberBox().getBottom(), setup.getOkButton().getY());
    EXPECT_EQ (setup.getHeight(), 425 + setup.getOkButton().getY() - 381);

    setup.selectInputRow (1);
    setup.selectOutputRow (1);
    press (setup.getOkButton());

    EXPECT_EQ (midi.getInputDeviceName(), "Marlo");
    EXPECT_FALSE (settings.getFile().exists());
    EXPECT_FALSE (settings.getFile().getParentDirectory().exists());
    EXPECT_TRUE (openedAtStart().isEmpty());
}

TEST_F (DeviceSettingsTest, RememberedDevicesOpenAtTheNextStartAndTurningItOffDeletesTheFile)
{
    auto& setup = openSetup();
    setup.selectInputRow (1);
    setup.selectOutputRow (0);
    setup.getRememberBox().setToggleState (true, juce::sendNotification);
    press (setup.getApplyButton());

    ASSERT_TRUE (settings.getFile().existsAsFile());
    EXPECT_TRUE (settings.getFile().loadFileAsString().contains ("Synth Out"));
    EXPECT_EQ (openedAtStart(), (juce::StringArray{"out:Synth Out", "in:Marlo"}));

    // The next Device Setup shows the choice as kept; Cancel keeps the file whatever the box says.
    delete window.get();
    auto& again = openSetup();
    EXPECT_TRUE (again.isRemembering());
    again.getRememberBox().setToggleState (false, juce::sendNotification);
    press (again.getCancelButton());
    EXPECT_TRUE (settings.getFile().existsAsFile());

    auto& last = openSetup();
    last.getRememberBox().setToggleState (false, juce::sendNotification);
    press (last.getOkButton());
    EXPECT_FALSE (settings.getFile().exists());
    EXPECT_TRUE (openedAtStart().isEmpty());
}

TEST_F (DeviceSettingsTest, AnAbsentDeviceIsSkippedAtStartShownAsNotConnectedAndStaysRemembered)
{
    ASSERT_TRUE (settings.remember ({"Unplugged Keys", "Marlo"}));
    EXPECT_EQ (openedAtStart(), (juce::StringArray{"out:Marlo"}));

    settings.openRemembered (midi);
    auto& setup = openSetup();
    EXPECT_TRUE (setup.isRemembering());
    EXPECT_EQ (setup.getNotConnected(), (juce::StringArray{"Unplugged Keys"}));
    EXPECT_EQ (setup.getSelectedOutputRow(), 1);
    EXPECT_EQ (setup.getSelectedInputRow(), -1);

    // A line's room for each remembered device, shown or not, and the buttons below: a device
    // coming and going does not resize the window.
    const auto height = setup.getHeight();
    EXPECT_EQ (setup.getOkButton().getBottom() + 12, height);
    setup.setNotConnected ({});
    EXPECT_EQ (setup.getHeight(), height);
    setup.setNotConnected ({"Unplugged Keys", "Marlo"});
    EXPECT_EQ (setup.getHeight(), height);
    setup.setNotConnected ({"Unplugged Keys", "Marlo", "A Third"});
    EXPECT_EQ (setup.getHeight() - height, 18) << "more lines than room: it grows";
    setup.setNotConnected ({"Unplugged Keys"});

    // OK with no input row chosen keeps the unplugged input for when it comes back.
    press (setup.getOkButton());
    EXPECT_EQ (settings.load().input, "Unplugged Keys");
    EXPECT_EQ (settings.load().output, "Marlo");
    EXPECT_TRUE (dialogs.alertsShown().empty());
}

TEST_F (DeviceSettingsTest, AFileNestedWithoutEndOrOfTheWrongKindOpensNothingAndGivesWayToAChoice)
{
    const auto file = settings.getFile();
    ASSERT_TRUE (file.getParentDirectory().createDirectory());
    juce::String nested;
    nested.preallocateBytes (2 * 200000 * 4);
    nested << "<PROPERTIES>";
    for (int level = 0; level < 200000; ++level)
        nested << "<a>";
    const juce::String fifo = (folder / "pipe.xml").getFullPathName();
    const auto withPipe = SystemUnderTest::makePipe (fifo);
    const juce::String entities =
        "<!DOCTYPE p [<!ENTITY a \"&a;&a;\">]><PROPERTIES><VALUE name=\"inputDevice\" "
        "val=\"&a;\"/></PROPERTIES>";

    juce::StringArray contents{entities, nested};
    if (withPipe)
        contents.insert (0, "fifo");
    for (const auto& content : contents)
    {
        ASSERT_TRUE (file.deleteFile());
        if (content == "fifo")
            ASSERT_TRUE (juce::File (fifo).moveFileTo (file));
        else
            ASSERT_TRUE (file.replaceWithText (content));

        ::testing::internal::CaptureStderr();
        EXPECT_TRUE (openedAtStart().isEmpty());
        const auto said = juce::String (::testing::internal::GetCapturedStderr());
        EXPECT_TRUE (said.contains (file.getFullPathName()) && said.contains ("no device is opened")) << said;
    }

    // Choosing devices again replaces what could not be read.
    EXPECT_TRUE (settings.remember ({"Marlo", "Marlo"}));
    EXPECT_EQ (openedAtStart(), juce::StringArray ({"out:Marlo", "in:Marlo"}));
    if (!withPipe)
        GTEST_SKIP() << "the other files were refused; this system has no named pipe in a folder";
}

TEST_F (DeviceSettingsTest, EachEntryIsTurnedOffAloneAndTheFileGoesWithTheLast)
{
    // A file as Device Setup alone wrote it: the devices and nothing else.
    ASSERT_TRUE (settings.getFile().getParentDirectory().createDirectory());
    ASSERT_TRUE (
        settings.getFile().replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n"
                                            "  <VALUE name=\"inputDevice\" val=\"Marlo\"/>\n"
                                            "  <VALUE name=\"outputDevice\" val=\"Synth Out\"/>\n"
                                            "</PROPERTIES>\n"));
    EXPECT_EQ (openedAtStart(), (juce::StringArray{"out:Synth Out", "in:Marlo"}));
    EXPECT_FALSE (settings.isOn (DeviceSettings::Option::sendChanges));

    ASSERT_TRUE (settings.setOn (DeviceSettings::Option::sendChanges, true));
    ASSERT_TRUE (settings.setOn (DeviceSettings::Option::verifyAfterSending, true));
    EXPECT_EQ (openedAtStart(), (juce::StringArray{"out:Synth Out", "in:Marlo"}));

    ASSERT_TRUE (settings.forget());
    EXPECT_FALSE (settings.isRemembering());
    EXPECT_TRUE (openedAtStart().isEmpty());
    EXPECT_TRUE (settings.isOn (DeviceSettings::Option::sendChanges));

    ASSERT_TRUE (settings.setOn (DeviceSettings::Option::sendChanges, false));
    EXPECT_FALSE (settings.isOn (DeviceSettings::Option::sendChanges));
    EXPECT_TRUE (settings.isOn (DeviceSettings::Option::verifyAfterSending));
    ASSERT_TRUE (settings.setOn (DeviceSettings::Option::verifyAfterSending, false));
    EXPECT_FALSE (settings.getFile().exists());
}
