// Drawing-object lines of the ".3qo" file on arbitrary bytes. A parsed object written and
// parsed again must read back as the same object.

#include "DrawDataObject.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
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
