#include "app/OrvaneZellSeriesEditorApplication.h"

namespace
{
class FirstWindow final : public juce::DocumentWindow
{
public:
    FirstWindow() : juce::DocumentWindow ("Orvane Marlo Editor", juce::Colour (0xff999999), closeButton)
    {
        setUsingNativeTitleBar (true);
        centreWithSize (1200, 700);
        setVisible (true);
    }
    void closeButtonPressed() override { juce::JUCEApplication::getInstance()->systemRequestedQuit(); }
};
} // namespace

void OrvaneZellSeriesEditorApplication::initialise (const juce::String&)
{
    window = std::make_unique<FirstWindow>();
}

void OrvaneZellSeriesEditorApplication::shutdown()
{
    window.reset();
}
