// Key:value reader and profile-header parser on arbitrary bytes, with either rule of line
// ends. Writing a parsed list and parsing it again must give the same list, and a text that
// counts as written back as read must be what the list writes.

#include "Headers.h"
#include "ProfileHeader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    for (const CHeaders::TLineEnds lineEnds : {CHeaders::TLineEnds::CrLf, CHeaders::TLineEnds::Any}) {
        CHeaders headers;
        headers.Parse(bytes, size, lineEnds);

        CProfileHeader header;
        header.ParseRadHeader(headers);

        const std::string text = headers.ToText();
        if (headers.IsWrittenAsRead() && text != std::string(bytes, size))
            std::abort();
        CHeaders again;
        again.Parse(text.data(), text.size(), lineEnds);
        if (again.ToText() != text || !again.IsWrittenAsRead())
            std::abort();
    }
    return 0;
}
