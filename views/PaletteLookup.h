#pragma once
// The surface words of the configured palette for the colour rule of the data views: a value
// limited to -1 .. 1 becomes the index v x 127 + 128 truncated, wrapped or held at 255, and the
// word of that palette entry. The table is built again only when the palette or its wrap
// switch differ from the ones it was built from.

#include "MemDC.h"

#include "Palettes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

class CPaletteLookup
{
public:
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

    uint32_t WordOf(float v) const { return m_words[Index(v)]; }
    // WordOf of count values, four indexes at a time.
    void WordsOf(const float* values, size_t count, uint32_t* words) const
    {
        typedef float Quad __attribute__((vector_size(4 * sizeof(float))));
        typedef int32_t IndexQuad __attribute__((vector_size(4 * sizeof(int32_t))));
        size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            Quad v;
            std::memcpy(&v, values + i, sizeof(v));
            const IndexQuad bAbove = ~(v < kAbove);
            Quad limited = bAbove ? Quad{} + 1.0f : v;
            limited = v <= kBelow ? Quad{} - 1.0f : limited;
            const IndexQuad index = __builtin_convertvector(limited * 127.0f + 128.0f, IndexQuad);
            for (int k = 0; k < 4; ++k)
                words[i + size_t(k)] = m_words[size_t(index[k])];
        }
        for (; i < count; ++i)
            words[i] = WordOf(values[i]);
    }

private:
    // CompareFloat's tolerance ends 839 steps of 2^-23 beyond -1 and 1: LimitFloat(v, -1, 1) is
    // -1 from kBelow down, 1 from kAbove up and for NaN, v between them, for every float.
    static constexpr float kBelow = -0x1.00068Ep0f; // -(1 + 839 x 2^-23)
    static constexpr float kAbove = 0x1.00068Ep0f;

    // The limited value x 127 + 128 truncated: 0 .. 255 for every float.
    static size_t Index(float v)
    {
        const float limited = v <= kBelow ? -1.0f : !(v < kAbove) ? 1.0f : v;
        return size_t(int(limited * 127.0f + 128.0f));
    }
    static size_t Wrapped(int index, bool bWrap) { return size_t(bWrap ? index & 0xFF : std::min(index, 255)); }

    TPaletteTable m_palette{};
    bool m_bWrap = false;
    bool m_bBuilt = false;
    std::array<uint32_t, 256> m_words{};
};
