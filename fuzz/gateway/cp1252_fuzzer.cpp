// Windows-1252 conversion of any bytes: every Windows-1252 text survives a round trip through UTF-8, and a
// prefix is always a prefix cut at a character boundary.
#include "qwirl/cp1252.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (qwirl::Cp1252::fromUtf8(qwirl::Cp1252::toUtf8(bytes)) != bytes) {
        std::abort();
    }
    const std::string cp1252 = qwirl::Cp1252::fromUtf8(bytes);
    const std::size_t limit = size == 0 ? 0 : data[0] % 200;
    const std::string_view prefix = qwirl::Cp1252::utf8Prefix(bytes, limit);
    if (prefix.data() != bytes.data() || prefix.size() > bytes.size() ||
        qwirl::Cp1252::fromUtf8(prefix).size() > limit || cp1252.size() > bytes.size()) {
        std::abort();
    }
    return 0;
}
