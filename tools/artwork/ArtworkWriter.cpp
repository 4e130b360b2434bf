#include "ArtworkWriter.h"

#include <iostream>
#include <png.h>
#include <vector>

// An opaque picture is shown as it is, so the first window waits for its decoding: its rows are
// left unfiltered, which decodes in half the time of the usual filters and is no larger here.
static bool encodeOpaque (const juce::Image& image, juce::OutputStream& out)
{
    auto* png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    auto* info = png != nullptr ? png_create_info_struct (png) : nullptr;

    if (info == nullptr || setjmp (png_jmpbuf (png)))
    {
        png_destroy_write_struct (&png, info != nullptr ? &info : nullptr);
        return false;
    }

    png_set_write_fn (
        png, &out,
        [] (png_structp writer, png_bytep data, png_size_t size)
        { static_cast<juce::OutputStream*> (png_get_io_ptr (writer))->write (data, size); },
        [] (png_structp) {});
    png_set_IHDR (png, info, static_cast<png_uint_32> (image.getWidth()),
                  static_cast<png_uint_32> (image.getHeight()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                  PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter (png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level (png, 9);
    png_write_info (png, info);

    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
    std::vector<png_byte> row (static_cast<size_t> (image.getWidth()) * 3);

    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto colour = pixels.getPixelColour (x, y);
            row[static_cast<size_t> (x) * 3] = colour.getRed();
            row[static_cast<size_t> (x) * 3 + 1] = colour.getGreen();
            row[static_cast<size_t> (x) * 3 + 2] = colour.getBlue();
        }

        png_write_row (png, row.data());
    }

    png_write_end (png, info);
    png_destroy_write_struct (&png, &info);
    return true;
}

void ArtworkWriter::write (const juce::String& name, const juce::Image& image)
{
    const auto file = fileFor (name);

    if (file.existsAsFile())
    {
        const auto previous = juce::ImageFileFormat::loadFrom (file);

        if (previous.isValid() && previous.getBounds() != image.getBounds())
        {
            std::cerr << name << ": " << image.getWidth() << "x" << image.getHeight() << " instead of "
                      << previous.getWidth() << "x" << previous.getHeight() << "\n";
            failed = true;
            return;
        }
    }

    juce::MemoryOutputStream png;
    juce::PNGImageFormat format;
    const auto encoded = image.getFormat() == juce::Image::RGB ? encodeOpaque (image, png)
                                                               : format.writeImageToStream (image, png);

    if (!encoded || !file.replaceWithData (png.getData(), png.getDataSize()))
    {
        std::cerr << "cannot write " << file.getFullPathName() << "\n";
        failed = true;
    }
}

void ArtworkWriter::writeText (const juce::String& fileName, const juce::String& text)
{
    const auto file = folder.getChildFile (fileName);

    if (!file.replaceWithText (text))
    {
        std::cerr << "cannot write " << file.getFullPathName() << "\n";
        failed = true;
    }
}
