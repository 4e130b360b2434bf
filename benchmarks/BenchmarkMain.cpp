#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

// The benchmarks build components and timers, so JUCE's message system is brought up once.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
