// Drawing-object lines of the ".3qo" file on arbitrary bytes. A parsed object written and
// parsed again must read back as the same object, and the line of an object with any six
// coordinates (the first bytes taken as floats) must be read back.

#include "DrawDataObject.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    float coordinates[6];
    if (size >= sizeof coordinates) {
        std::memcpy(coordinates, data, sizeof coordinates);
        Tovrik::CDrawDataObject object;
        object.m_fX1 = coordinates[0];
        object.m_fY1 = coordinates[1];
        object.m_fZ1 = coordinates[2];
        object.m_fX2 = coordinates[3];
        object.m_fY2 = coordinates[4];
        object.m_fZ2 = coordinates[5];
        const std::string line = object.Write();
        size_t at = 0;
        if (!Tovrik::CDrawDataObject().Read(line, at) || at != line.size())
            std::abort();
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t pos = 0;
    while (pos < text.size()) {
        Tovrik::CDrawDataObject object;
        const size_t before = pos;
        if (!object.Read(text, pos))
            break;
        if (pos <= before)
            std::abort(); // a successful read always moves on
        const std::string line = object.Write();
        Tovrik::CDrawDataObject again;
        size_t at = 0;
        if (!again.Read(line, at) || again.Write() != line)
            std::abort();
    }
    return 0;
}
