// Form encoding of any bytes decodes back to the same bytes; decoding any value never crashes.
#include "qwirl/form_encoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto decoded = qwirl::FormEncoding::decode(qwirl::FormEncoding::encode(bytes));
    if (!decoded || *decoded != bytes) {
        std::abort();
    }
    (void)qwirl::FormEncoding::decode(bytes);
    return 0;
}
