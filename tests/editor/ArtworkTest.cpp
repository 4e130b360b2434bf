#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "MarloArtwork.h"
#include "editor/Artwork.h"
#include "editor/BankView.h"
#include "editor/EditorComponent.h"
#include "editor/ZellControlLayoutView.h"

namespace
{
// Pictures drawn once at their shown size are blended twice (into the picture, then onto the
// screen), so a channel may round differently by a level or two; a visible fault, such as a picture
// off by one pixel, a wrong size or a blurred copy, differs by far more.
constexpr int resamplingTolerance = 2;

/** An embedded picture decoded the way the editor always decoded it, independent of loadArtwork. */
juce::Image decodedAsBefore (const juce::String& stem)
{
    int size = 0;
    const auto* data = MarloArt::getNamedResource ((stem + "_png").toRawUTF8(), size);
    return data == nullptr ? juce::Image()
                           : juce::ImageFileFormat::loadFrom (data, static_cast<size_t> (size));
}

struct Difference
{
    int largest = 0;
    int pixels = 0;
};

Difference compare (const juce::Image& a, const juce::Image& b)
{
    Difference difference;
    const juce::Image::BitmapData first (a, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData second (b, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < a.getHeight(); ++y)
    {
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto p = first.getPixelColour (x, y);
            const auto q = second.getPixelColour (x, y);
            const auto largest =
                juce::jmax (std::abs (p.getRed() - q.getRed()), std::abs (p.getGreen() - q.getGreen()),
                            std::abs (p.getBlue() - q.getBlue()));
            difference.largest = juce::jmax (difference.largest, largest);
            difference.pixels += largest > resamplingTolerance ? 1 : 0;
        }
    }

    return difference;
}

// The picture parts in builder order; all but the keybed were drawn scaled down in every paint.
const char* const pictureParts[] = {"part_knobs",  "part_switches", "part_pads",
                                    "part_keybed", "part_octave",   "part_wheels"};
const char* const tabs[] = {"tab_main",   "tab_knobs",  "tab_switches", "tab_pads",
                            "tab_keybed", "tab_wheels", "tab_sustain"};

/** Gives a selector button its pictures as they were first drawn: full size, not opaque. */
void restorePictures (juce::Component* component, const juce::String& stem)
{
    auto* button = dynamic_cast<juce::ImageButton*> (component);
    button->setImages (false, true, true, decodedAsBefore (stem + "_normal"), 1.0f,
                       juce::Colours::transparentBlack, decodedAsBefore (stem + "_hover"), 1.0f,
                       juce::Colours::transparentBlack, decodedAsBefore (stem + "_pressed"), 1.0f,
                       juce::Colours::transparentBlack, 0.0f);
    button->setOpaque (false);
}

/** Two editors side by side: one as it is built now, one drawing the way the editor drew before its
    pictures were made at their shown size (the full pictures scaled in every paint). */
struct EditorPair
{
    EditorPair()
    {
        auto& selector = before->getPictureSelector();
        selector.setBackgroundImage (decodedAsBefore ("controller"));
        selector.setOpaque (false);
        before->getTabSelector().setOpaque (false);

        for (int i = 0; i < selector.getButtons().size(); ++i)
            restorePictures (selector.getButtons()[i], pictureParts[i]);

        for (int i = 0; i < before->getTabSelector().getButtons().size(); ++i)
            restorePictures (before->getTabSelector().getButtons()[i], tabs[i]);
    }

    static juce::Image paintNow (EditorComponent& editor)
    {
        juce::Image image (juce::Image::RGB, editor.getWidth(), editor.getHeight(), true);
        juce::Graphics g (image);
        editor.paintEntireComponent (g, true);
        return image;
    }

    /** The editor's own paint as it was, then its children as the framework paints them. */
    static juce::Image paintAsBefore (EditorComponent& editor)
    {
        juce::Image image (juce::Image::RGB, editor.getWidth(), editor.getHeight(), true);
        juce::Graphics g (image);
        const auto background = decodedAsBefore ("background");
        g.fillAll (juce::Colours::white);
        g.setColour (juce::Colours::black);
        g.drawImage (background, 0, 0, 1200, 750, 0, 0, background.getWidth(), background.getHeight(), false);

        for (auto* child : editor.getChildren())
        {
            if (!child->isVisible())
                continue;

            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (child->getBounds());
            g.setOrigin (child->getPosition());
            child->paintEntireComponent (g, true);
        }

        return image;
    }

    template <typename Change> void both (Change&& change)
    {
        change (*now);
        change (*before);
    }

    Difference difference() { return compare (paintNow (*now), paintAsBefore (*before)); }

    std::unique_ptr<EditorComponent> now = createEditorComponent (nullptr);
    std::unique_ptr<EditorComponent> before = createEditorComponent (nullptr);
};

juce::Button* tab (EditorComponent& editor, int index)
{
    return dynamic_cast<juce::Button*> (editor.getTabSelector().getButtons()[index]);
}

juce::Button* part (EditorComponent& editor, int index)
{
    return dynamic_cast<juce::Button*> (editor.getPictureSelector().getButtons()[index]);
}
} // namespace

TEST (Artwork, DecodedOnDemandToTheSamePixelsAndShared)
{
    int checked = 0;

    for (int i = 0; i < MarloArt::namedResourceListSize; ++i)
    {
        const juce::String name (MarloArt::namedResourceList[i]);
        if (!name.endsWith ("_png"))
            continue;

        const auto stem = name.dropLastCharacters (4);
        const auto expected = decodedAsBefore (stem);
        const auto image = loadArtwork (stem);
        SCOPED_TRACE (stem.toStdString());

        ASSERT_EQ (image.getBounds(), expected.getBounds());
        // Known from the header before decoding: what the decoder then gives.
        EXPECT_EQ (image.getFormat(), expected.getFormat());
        EXPECT_EQ (compare (image, expected).largest, 0);
        EXPECT_EQ (loadArtwork (stem).getPixelData(), image.getPixelData());
        ++checked;
    }

    EXPECT_GT (checked, 50);
    EXPECT_TRUE (loadArtwork ("no_such_picture").isNull());
}

TEST (Artwork, ShippedWindowAtRestIsWhatTheEditorPaintsTheLongWay)
{
    const auto shipped = decodedAsBefore ("editor_at_rest");
    const auto painted = EditorComponent::paintAtRest();

    ASSERT_EQ (shipped.getBounds(), painted.getBounds());
    EXPECT_EQ (shipped.getFormat(), juce::Image::RGB);
    EXPECT_EQ (compare (shipped, painted).largest, 0);
}

TEST (Artwork, PictureButtonsKeepTheirBoundsAndShowPicturesAtThatSize)
{
    auto editor = createEditorComponent (nullptr);
    const juce::Rectangle<int> expected[] = {{41, 12, 112, 16},   {104, 41, 55, 35}, {13, 114, 153, 76},
                                             {175, 40, 955, 167}, {104, 80, 55, 15}, {20, 44, 58, 50}};

    for (int i = 0; i < 6; ++i)
    {
        auto* button = dynamic_cast<juce::ImageButton*> (part (*editor, i));
        EXPECT_EQ (button->getBounds(), expected[i]) << pictureParts[i];
        // Shown unscaled, and opaque, so that nothing behind it is painted again on a hover.
        EXPECT_EQ (button->getNormalImage().getBounds(), expected[i].withZeroOrigin()) << pictureParts[i];
        EXPECT_EQ (button->getOverImage().getBounds(), expected[i].withZeroOrigin()) << pictureParts[i];
        EXPECT_EQ (button->getDownImage().getBounds(), expected[i].withZeroOrigin()) << pictureParts[i];
        EXPECT_TRUE (button->isOpaque()) << pictureParts[i];
    }
}

TEST (Artwork, EveryPageAndPictureStateLooksAsBefore)
{
    EditorPair pair;

    for (int page = 0; page < 7; ++page)
    {
        pair.both ([page] (EditorComponent& editor) { editor.showViewFor (tab (editor, page)); });
        const auto difference = pair.difference();
        EXPECT_LE (difference.largest, resamplingTolerance) << "page " << page;
        EXPECT_EQ (difference.pixels, 0) << "page " << page;
    }

    // Each page above lit its own picture parts in their pressed pictures; on the main page none is
    // lit, and hover and the mouse held down draw the other two states.
    pair.both ([] (EditorComponent& editor) { editor.showViewFor (tab (editor, 0)); });

    for (int index = 0; index < 6; ++index)
    {
        for (auto state : {juce::Button::buttonOver, juce::Button::buttonDown})
        {
            pair.both ([index, state] (EditorComponent& editor) { part (editor, index)->setState (state); });
            EXPECT_EQ (pair.difference().pixels, 0) << "part " << index << ", state " << state;
            pair.both ([index] (EditorComponent& editor)
                       { part (editor, index)->setState (juce::Button::buttonNormal); });
        }
    }

    // A tab that is not lit, under the mouse.
    pair.both ([] (EditorComponent& editor) { tab (editor, 2)->setState (juce::Button::buttonOver); });
    EXPECT_EQ (pair.difference().pixels, 0) << "tab under the mouse";
    pair.both ([] (EditorComponent& editor) { tab (editor, 2)->setState (juce::Button::buttonNormal); });

    pair.both (
        [] (EditorComponent& editor)
        {
            editor.showViewFor (tab (editor, 3));
            auto& banks =
                dynamic_cast<ZellControlLayoutView*> (editor.getViewFor (tab (editor, 3)))->getBankView();
            banks.buttonClicked (banks.getNextButton());
        });
    EXPECT_EQ (pair.difference().pixels, 0) << "second bank of pads";
}

TEST (Artwork, ComparisonSeesAVisibleChange)
{
    EditorPair pair;

    // A picture part one pixel off its place, as a wrong fitting would draw it.
    pair.now->getPictureSelector().getButtons()[0]->setTopLeftPosition (42, 12);
    EXPECT_GT (pair.difference().pixels, 0);

    pair.now->getPictureSelector().getButtons()[0]->setTopLeftPosition (41, 12);
    EXPECT_EQ (pair.difference().pixels, 0);

    pair.now->showViewFor (tab (*pair.now, 1));
    EXPECT_GT (pair.difference().pixels, 1000);
}

TEST (Artwork, AtAScaleEveryPictureButtonKeepsItsBoundsAndDrawsThatManyPixelsPerUnit)
{
    auto editor = createEditorComponent (nullptr);
    std::vector<std::pair<juce::ImageButton*, juce::Rectangle<int>>> buttons;
    std::function<void (juce::Component&)> collect = [&] (juce::Component& parent)
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* button = dynamic_cast<juce::ImageButton*> (child))
                buttons.emplace_back (button, button->getBounds());
            collect (*child);
        }
    };
    collect (*editor);
    // Six picture parts, seven tabs, four transfer buttons and the arrows of every page.
    ASSERT_GE (buttons.size(), 17u);

    const auto expectPixelsPerUnit = [&buttons] (int scale)
    {
        for (const auto& [button, bounds] : buttons)
        {
            EXPECT_EQ (button->getBounds(), bounds);
            for (const auto& picture :
                 {button->getNormalImage(), button->getOverImage(), button->getDownImage()})
            {
                EXPECT_NEAR (picture.getWidth(), bounds.getWidth() * scale, 1) << bounds.toString();
                EXPECT_NEAR (picture.getHeight(), bounds.getHeight() * scale, 1) << bounds.toString();
            }
        }
    };

    rescaleArtwork (*editor, 2.0f);
    expectPixelsPerUnit (2);

    // Drawn at twice the pixels, not the pictures at one pixel per unit enlarged: the transfer
    // buttons show the picture drawn for that size.
    const auto get =
        std::find_if (buttons.begin(), buttons.end(),
                      [] (const auto& entry) { return entry.first->getName() == "Load From MIDI"; });
    ASSERT_NE (get, buttons.end());
    auto* transfer = get->first;
    EXPECT_EQ (compare (transfer->getNormalImage(), decodedAsBefore ("transfer_get_normal_2x")).largest, 0);

    rescaleArtwork (*editor, 1.0f);
    expectPixelsPerUnit (1);
}

TEST (Artwork, AWindowAtScaleOneNeverLoadsThePicturesDrawnAtTwice)
{
    juce::ImageCache::releaseUnusedImages();
    auto editor = everyPageMade (createEditorComponent (nullptr));
    juce::Image painted (juce::Image::RGB, editor->getWidth(), editor->getHeight(), true);
    {
        juce::Graphics g (painted);
        editor->paintEntireComponent (g, true);
    }

    // Shared pictures are kept in the image cache under their stem: none of the larger set is.
    int twice = 0;
    for (int i = 0; i < MarloArt::namedResourceListSize; ++i)
    {
        const juce::String stem =
            juce::String (MarloArt::namedResourceList[i]).upToLastOccurrenceOf ("_png", false, false);
        if (!stem.endsWith ("_2x"))
            continue;
        ++twice;
        EXPECT_TRUE (juce::ImageCache::getFromHashCode (("artwork " + stem).hashCode64()).isNull()) << stem;
    }
    EXPECT_GT (twice, 40);

    // Once the window is scaled, they are asked for.
    rescaleArtwork (*editor, 2.0f);
    EXPECT_TRUE (
        juce::ImageCache::getFromHashCode (juce::String ("artwork arrow_left_normal_2x").hashCode64())
            .isValid());
}

TEST (Artwork, APageFirstShownAfterAZoomDrawsItsArrowsAtTheZoomedScale)
{
    auto editor = createEditorComponent (nullptr);
    juce::ImageCache::releaseUnusedImages();
    ASSERT_TRUE (
        juce::ImageCache::getFromHashCode (juce::String ("artwork arrow_left_normal_2x").hashCode64())
            .isNull());

    rescaleArtwork (*editor, 2.0f);
    ASSERT_TRUE (editor->showPage (3));

    EXPECT_TRUE (
        juce::ImageCache::getFromHashCode (juce::String ("artwork arrow_left_normal_2x").hashCode64())
            .isValid());
}
