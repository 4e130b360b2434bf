#include "editor/ZellControlLayoutView.h"

#include "editor/Artwork.h"

namespace
{
std::unique_ptr<juce::ImageButton> createArrowButton (const juce::String& artwork)
{
    auto button = std::make_unique<juce::ImageButton> (juce::String());
    setButtonArtwork (*button, artwork, false, false);
    const auto picture = loadArtwork (artwork + "_normal");
    button->setSize (picture.getWidth(), picture.getHeight());
    return button;
}
} // namespace

ZellControlLayoutView::ZellControlLayoutView (const juce::Array<juce::Component*>& panels,
                                              ZellControlReferenceData* referenceData)
{
    build (panels, juce::Array<ZellControlReferenceData*>{referenceData});
}

ZellControlLayoutView::ZellControlLayoutView (const juce::Array<juce::Component*>& panels,
                                              const juce::Array<ZellControlReferenceData*>& referenceData)
{
    build (panels, referenceData);
}

ZellControlLayoutView::ZellControlLayoutView (ContentsMaker contentsMaker) : maker (std::move (contentsMaker))
{
    setSize (1200, 200);
    keepArtwork (*this, [this] (float scale) { artworkShownAt = scale; });
}

void ZellControlLayoutView::makeContents()
{
    if (hasContents() || maker == nullptr)
        return;

    // Taken first, so that it runs once. A maker must not reach back into this page: the panels
    // are not there until it has returned.
    const auto make = std::move (maker);
    maker = nullptr;
    auto contents = make();
    const juce::Array<juce::Component*> panels (contents.panels.begin(), contents.panels.size());
    const juce::Array<ZellControlReferenceData*> data (contents.referenceData.begin(),
                                                       contents.referenceData.size());
    contents.panels.clearQuick (false);
    contents.referenceData.clearQuick (false);
    build (panels, data);

    // Made after a zoom: the arrows take the pictures the rest of the window shows.
    if (!juce::approximatelyEqual (artworkShownAt, artworkScale()))
        rescaleArtwork (*bankView, artworkShownAt);
}

BankView& ZellControlLayoutView::getBankView()
{
    makeContents();
    jassert (bankView != nullptr);
    return *bankView;
}

const juce::OwnedArray<juce::Component>& ZellControlLayoutView::getControlViews()
{
    makeContents();
    return controlViews;
}

void ZellControlLayoutView::visibilityChanged()
{
    if (isVisible())
        makeContents();
}

ZellControlLayoutView::~ZellControlLayoutView()
{
    referenceDataList.clear();
    controlViews.clear();
    bankView.reset();
}

void ZellControlLayoutView::build (const juce::Array<juce::Component*>& panels,
                                   const juce::Array<ZellControlReferenceData*>& referenceData)
{
    auto previous = createArrowButton ("arrow_left");
    auto next = createArrowButton ("arrow_right");

    bankView = std::make_unique<BankView> (next.release(), previous.release());

    for (auto* data : referenceData)
        referenceDataList.add (data);

    for (auto* panel : panels)
        controlViews.add (panel);

    bankView->addControls (panels);
    bankView->setControlsPerBank (4);

    bankView->setBounds (0, 0, 1200, 200);
    addAndMakeVisible (*bankView);
    setSize (1200, 200);
}
