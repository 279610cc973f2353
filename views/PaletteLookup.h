#pragma once
// The surface words of the configured palette for the colour rule of the data views: a value
// limited to -1 .. 1 becomes the index v x 127 + 128 truncated, wrapped or held at 255, and the
// word of that palette entry. The table is built again only when the palette or its wrap
// switch differ from the ones it was built from.

#include "MemDC.h"

#include "Palettes.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

class CPaletteLookup
{
public:
    CPaletteLookup()
    {
        while (!(CompareFloat(m_fLow, -1.0f) < 0))
            m_fLow = std::nextafter(m_fLow, -2.0f);
        while (!(CompareFloat(m_fHigh, 1.0f) > 0))
            m_fHigh = std::nextafter(m_fHigh, 2.0f);
    }

    // True when the table had to be built again.
    bool Update(const TPaletteTable& palette, bool bWrap)
    {
        if (m_bBuilt && bWrap == m_bWrap && palette == m_palette)
            return false;
        m_palette = palette;
        m_bWrap = bWrap;
        m_bBuilt = true;
        for (int i = 0; i < 256; ++i)
            m_words[size_t(i)] = Tovrik::CMemDC::PixelOf(palette[Wrapped(i, bWrap)]);
        return true;
    }

    uint32_t WordOf(float v) const { return m_words[size_t(IndexOf(v))]; }
    // WordOf of count values, four indexes at a time.
    void WordsOf(const float* values, size_t count, uint32_t* words) const
    {
        typedef float Quad __attribute__((vector_size(4 * sizeof(float))));
        typedef int32_t IndexQuad __attribute__((vector_size(4 * sizeof(int32_t))));
        const Quad low = Quad{} + m_fLow, high = Quad{} + m_fHigh;
        size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            Quad v;
            std::memcpy(&v, values + i, sizeof(v));
            Quad limited = v < high ? v : high;
            limited = limited > low ? limited : low;
            // A true comparison is -1: below the lower bound the index rises from 0 to 1.
            const IndexQuad index = __builtin_convertvector(limited * 127.0f + 128.0f, IndexQuad) - (v <= low);
            for (int k = 0; k < 4; ++k)
                words[i + size_t(k)] = m_words[size_t(index[k])];
        }
        for (; i < count; ++i)
            words[i] = WordOf(values[i]);
    }

    // int(LimitFloat(v, -1, 1) x 127 + 128), 0 .. 255 for every float, NaN included: the
    // limit's tolerance lies in the two bounds, so that no value needs doubles. The upper
    // bound gives the index of 1, 255, as 1 does.
    int IndexOf(float v) const
    {
        float limited = v < m_fHigh ? v : m_fHigh;
        limited = limited > m_fLow ? limited : m_fLow;
        // 0 at the lower bound, so 1 below it by an addition rather than a jump, which would
        // mispredict on the saturated pixels of a strong contrast.
        return int(limited * 127.0f + 128.0f) + int(v <= m_fLow);
    }

private:
    static size_t Wrapped(int index, bool bWrap) { return size_t(bWrap ? index & 0xFF : std::min(index, 255)); }

    TPaletteTable m_palette{};
    bool m_bWrap = false;
    bool m_bBuilt = false;
    std::array<uint32_t, 256> m_words{};
    // The largest float that LimitFloat raises to -1 and the smallest it lowers to 1.
    float m_fLow = -1.0f;
    float m_fHigh = 1.0f;
};
