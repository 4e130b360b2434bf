#include <benchmark/benchmark.h>

#include "editor/EditorComponent.h"

// Painting a document's editor into an image, page by page, and repainting the area of one picture
// button under the mouse; each next to a plain copy of the same pixels, the floor that painting can
// approach. The tree has no controller: painting does not depend on one.
namespace
{
constexpr int pageCount = 7;
constexpr int pictureButtonCount = 6;

struct PaintedEditor
{
    explicit PaintedEditor (int page) : editor (createEditorComponent (nullptr))
    {
        editor->showViewFor (tabButton (page));
    }

    juce::Button* tabButton (int page) const
    {
        return dynamic_cast<juce::Button*> (editor->getTabSelector().getButtons()[page]);
    }

    juce::Button* pictureButton (int index) const
    {
        return dynamic_cast<juce::Button*> (editor->getPictureSelector().getButtons()[index]);
    }

    /** Paints what the window's peer paints for a damaged area. */
    void paint (juce::Rectangle<int> area)
    {
        juce::Graphics g (target);
        g.reduceClipRegion (area);
        editor->paintEntireComponent (g, true);
    }

    std::unique_ptr<EditorComponent> editor;
    juce::Image target{juce::Image::RGB, 1200, 700, true};
};

/** Copies the painted pixels of an area back into place: the floor for repainting it. */
void copyPixels (benchmark::State& state, const juce::Image& painted, juce::Rectangle<int> area)
{
    const auto pixels = painted.getClippedImage (area).createCopy();
    juce::Image target (juce::Image::RGB, painted.getWidth(), painted.getHeight(), true);

    for (auto _ : state)
    {
        juce::Graphics g (target);
        g.drawImageAt (pixels, area.getX(), area.getY());
        benchmark::DoNotOptimize (target.getPixelData());
    }
}

/** Paints an area again and again once its pictures have been made. */
void repaint (benchmark::State& state, PaintedEditor& painted, juce::Rectangle<int> area)
{
    painted.paint (area);

    for (auto _ : state)
    {
        painted.paint (area);
        benchmark::DoNotOptimize (painted.target.getPixelData());
    }
}

void BM_PaintPage (benchmark::State& state)
{
    PaintedEditor painted (static_cast<int> (state.range (0)));
    repaint (state, painted, painted.editor->getLocalBounds());
}
BENCHMARK (BM_PaintPage)->DenseRange (0, pageCount - 1)->Unit (benchmark::kMicrosecond);

void BM_BlitPage (benchmark::State& state)
{
    PaintedEditor painted (static_cast<int> (state.range (0)));
    painted.paint (painted.editor->getLocalBounds());
    copyPixels (state, painted.target, painted.editor->getLocalBounds());
}
BENCHMARK (BM_BlitPage)->DenseRange (0, pageCount - 1)->Unit (benchmark::kMicrosecond);

/** The mouse over a picture button, which draws its hover picture: only its area is repainted. */
void BM_HoverPictureButton (benchmark::State& state)
{
    PaintedEditor painted (0);
    auto* button = painted.pictureButton (static_cast<int> (state.range (0)));
    button->setState (juce::Button::buttonOver);
    repaint (state, painted, painted.editor->getLocalArea (button, button->getLocalBounds()));
}
BENCHMARK (BM_HoverPictureButton)->DenseRange (0, pictureButtonCount - 1)->Unit (benchmark::kMicrosecond);

void BM_BlitPictureButton (benchmark::State& state)
{
    PaintedEditor painted (0);
    auto* button = painted.pictureButton (static_cast<int> (state.range (0)));
    button->setState (juce::Button::buttonOver);
    const auto area = painted.editor->getLocalArea (button, button->getLocalBounds());
    painted.paint (painted.editor->getLocalBounds());
    copyPixels (state, painted.target, area);
}
BENCHMARK (BM_BlitPictureButton)->DenseRange (0, pictureButtonCount - 1)->Unit (benchmark::kMicrosecond);
} // namespace
