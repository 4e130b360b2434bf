#include <benchmark/benchmark.h>

#include "editor/Artwork.h"
#include "editor/EditorComponent.h"

// What a new window's first paint pays for its pictures unless the pixels are ready: decoding each
// picture it shows first, and making the shown background at run time (as at a display scale the
// artwork does not ship it for) rather than decoding the shipped one.
namespace
{
const char* const firstShownPictures[] = {"editor_at_rest", "background", "controller", "part_keybed_normal",
                                          "tab_main_normal"};

void BM_DecodePicture (benchmark::State& state)
{
    const juce::String stem (firstShownPictures[state.range (0)]);
    state.SetLabel (stem.toStdString());

    for (auto _ : state)
        benchmark::DoNotOptimize (decodeArtwork (stem).getPixelData());
}
BENCHMARK (BM_DecodePicture)
    ->DenseRange (0, static_cast<int> (std::size (firstShownPictures)) - 1)
    ->Unit (benchmark::kMicrosecond);

void BM_MakeShownBackground (benchmark::State& state)
{
    for (auto _ : state)
    {
        juce::Image shown (juce::Image::RGB, 1200, 700, true, juce::SoftwareImageType());
        juce::Graphics g (shown);
        EditorComponent::paintShownBackground (g, decodeArtwork ("background"), 1.0f);
        benchmark::DoNotOptimize (shown.getPixelData());
    }
}
BENCHMARK (BM_MakeShownBackground)->Unit (benchmark::kMicrosecond);
} // namespace
