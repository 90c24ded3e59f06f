#include "useraccount.h"

#include "users/scrambling.h"
#include "users/usermessages.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace parlix::userrecord {

namespace {

// Qt knows this code page through ICU, and only by this name.
constexpr const char* kCodePage = "windows-1252";

bool holdsSeparator(const QString& field)
{
    for (const QChar c : field) {
        if (c == u',' || c.unicode() < 0x20)
            return true;
    }
    return false;
}

// The Windows-1252 bytes of a text, or the first character that has none.
std::optional<QByteArray> encode(const QString& text, QString& missing)
{
    QStringEncoder encoder(kCodePage);
    if (encoder.isValid()) {
        const QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError())
            return bytes;
    }
    // Find the culprit, one character at a time.
    QByteArray bytes;
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        const QString one = QString::fromUcs4(&c, 1);
        QStringEncoder single(kCodePage);
        const QByteArray encoded = single.isValid() ? QByteArray(single.encode(one)) : one.toLatin1();
        if (single.hasError() || (!single.isValid() && c > 0xFF)) {
            missing = one;
            return std::nullopt;
        }
        bytes += encoded;
    }
    return bytes;
}

QString decode(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.isValid() ? QString(decoder.decode(bytes)) : QString::fromLatin1(bytes);
}

} // namespace

StoredLine store(const UserAccount& account)
{
    if (holdsSeparator(account.name) || holdsSeparator(account.password) || holdsSeparator(account.level))
        return {{}, usermessages::separatorRefused()};
    const QString plain = account.name + u',' + account.password + u',' + account.level;
    QString missing;
    const auto bytes = encode(plain, missing);
    if (!bytes)
        return {{}, usermessages::characterRefused(missing)};
    const auto stored = scrambling::scramble(*bytes);
    if (!stored)
        return {{}, usermessages::tooLongRefused()};
    return {*stored, {}};
}

std::optional<UserAccount> read(const QByteArray& line)
{
    const auto plain = scrambling::unscramble(line);
    if (!plain)
        return std::nullopt;
    const QStringList fields = decode(*plain).split(u',');
    if (fields.size() < 3)
        return std::nullopt;
    return UserAccount{fields.at(0), fields.at(1), fields.at(2)};
}

} // namespace parlix::userrecord
