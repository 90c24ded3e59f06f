#pragma once

#include <string>
#include <string_view>

namespace qwirl::sandbox {

// Standard Base64 with padding (RFC 4648), as HTTP Basic credentials use it.
std::string base64Encode(std::string_view bytes);

} // namespace qwirl::sandbox
