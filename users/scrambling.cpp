#include "scrambling.h"

namespace parlix::scrambling {

namespace {

// The amount added to the byte at 0-based index `i` of a record of `length` bytes.
int shift(qsizetype i, qsizetype length)
{
    return static_cast<int>(i == 0 ? length : i + 1);
}

std::optional<QByteArray> moved(const QByteArray& bytes, int direction)
{
    QByteArray result(bytes.size(), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const qsizetype code = static_cast<unsigned char>(bytes.at(i)) + direction * shift(i, bytes.size());
        if (code < 0 || code > 255)
            return std::nullopt;
        result[i] = static_cast<char>(code);
    }
    return result;
}

} // namespace

std::optional<QByteArray> scramble(const QByteArray& plain)
{
    return moved(plain, +1);
}

std::optional<QByteArray> unscramble(const QByteArray& stored)
{
    return moved(stored, -1);
}

} // namespace parlix::scrambling
