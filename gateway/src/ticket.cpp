#include "qwirl/ticket.h"

#include <openssl/evp.h>

#include <array>
#include <stdexcept>

namespace qwirl {

std::string Ticket::compute(std::string_view bytes)
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_md5(), nullptr) != 1) {
        // Only an unusable crypto library gets here (MD5 disabled by policy); callers treat it like a
        // failed allocation.
        throw std::runtime_error("MD5 digest unavailable");
    }
    constexpr char HexDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        hex += HexDigits[digest[i] >> 4];
        hex += HexDigits[digest[i] & 0x0F];
    }
    return hex;
}

} // namespace qwirl
