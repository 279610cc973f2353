// Key:value reader and profile-header parser on arbitrary bytes. Writing a parsed list and
// parsing it again must give the same list.

#include "Headers.h"
#include "ProfileHeader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CHeaders headers;
    headers.Parse(reinterpret_cast<const char*>(data), size);

    CProfileHeader header;
    header.ParseRadHeader(headers);

    const std::string text = headers.ToText();
    CHeaders again;
    again.Parse(text.data(), text.size());
    if (again.ToText() != text)
        std::abort();
    return 0;
}
