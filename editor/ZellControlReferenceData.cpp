#include "editor/ZellControlReferenceData.h"

#include <stdexcept>

ZellControlReferenceData::~ZellControlReferenceData() = default;

juce::Point<int> ZellControlReferenceData::getPanelSize() const
{
    return {280, 211};
}

int ZellControlReferenceData::getWidgetKind (const juce::String& label) const
{
    return specFor (label).widgetKind;
}

int ZellControlReferenceData::getDisplayOffset (const juce::String& label) const
{
    return specFor (label).displayOffset;
}

int ZellControlReferenceData::getMinimum (const juce::String& label) const
{
    return specFor (label).minimum;
}

int ZellControlReferenceData::getMaximum (const juce::String& label) const
{
    return specFor (label).maximum;
}

int ZellControlReferenceData::getDefaultValue (const juce::String& label) const
{
    return specFor (label).defaultValue;
}

juce::StringArray ZellControlReferenceData::getModeParameters (const juce::String& modeName) const
{
    const auto found = modeParameters.find (modeName);

    if (found == modeParameters.end())
        throw std::out_of_range ("unknown mode: " + modeName.toStdString());

    return found->second;
}

bool ZellControlReferenceData::hasMode (const juce::String& modeName) const
{
    return modeParameters.find (modeName) != modeParameters.end();
}

void ZellControlReferenceData::addParameter (const juce::String& label, ParameterSpec spec)
{
    parameterLabels.add (label);
    parameterSpecs[label] = spec;
}

void ZellControlReferenceData::addMode (const juce::String& modeName, const juce::StringArray& labels)
{
    modeNames.add (modeName);
    modeParameters[modeName] = labels;
}

void ZellControlReferenceData::addFromSchema (const ControlSchema& schema)
{
    for (const auto& parameter : schema.getParameters())
        addParameter (parameter.label, parameter.spec);

    for (const auto& mode : schema.getModes())
        addMode (mode.name, mode.labels);
}

const ParameterSpec& ZellControlReferenceData::specFor (const juce::String& label) const
{
    const auto found = parameterSpecs.find (label);

    if (found == parameterSpecs.end())
        throw std::out_of_range ("unknown parameter: " + label.toStdString());

    return found->second;
}
