#pragma once
// The colours of a surface, row after row from the top, for comparing renders pixel by pixel.

#include "MemDC.h"

#include <cstdint>
#include <vector>

inline std::vector<uint32_t> ColoursOf(const Tovrik::CMemDC& image)
{
    std::vector<uint32_t> colours;
    colours.reserve(size_t(image.GetWidth()) * size_t(image.GetHeight()));
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            colours.push_back(image.GetPixel(x, y));
    return colours;
}
