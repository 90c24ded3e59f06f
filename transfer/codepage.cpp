#include "codepage.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <utility>

namespace parlix::dbf {

namespace {

const QByteArray fallback = QByteArrayLiteral("windows-1252");

// Language driver bytes of dBase and FoxPro headers and their code pages.
constexpr std::pair<int, int> languageDrivers[] = {
    {0x01, 437},   {0x02, 850},  {0x03, 1252}, {0x04, 10000}, {0x08, 865},  {0x09, 437},  {0x0A, 850},
    {0x0B, 437},   {0x0D, 437},  {0x0E, 850},  {0x0F, 437},   {0x10, 850},  {0x11, 437},  {0x12, 850},
    {0x13, 932},   {0x14, 850},  {0x15, 437},  {0x16, 850},   {0x17, 865},  {0x18, 437},  {0x19, 437},
    {0x1A, 850},   {0x1B, 437},  {0x1C, 863},  {0x1D, 850},   {0x1F, 852},  {0x22, 852},  {0x23, 852},
    {0x24, 860},   {0x25, 850},  {0x26, 866},  {0x37, 850},   {0x40, 852},  {0x4D, 936},  {0x4E, 949},
    {0x4F, 950},   {0x50, 874},  {0x57, 1252}, {0x58, 1252},  {0x59, 1252}, {0x64, 852},  {0x65, 866},
    {0x66, 865},   {0x67, 861},  {0x6A, 737},  {0x6B, 857},   {0x78, 950},  {0x79, 949},  {0x7A, 936},
    {0x7B, 932},   {0x7C, 874},  {0x7D, 1255}, {0x7E, 1256},  {0x86, 737},  {0x87, 852},  {0x88, 857},
    {0x96, 10007}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254},  {0xCB, 1253}, {0xCC, 1257},
};

QByteArray nameOfCodePage(int number)
{
    switch (number) {
    case 874:
        return QByteArrayLiteral("windows-874");
    case 932:
        return QByteArrayLiteral("Shift_JIS");
    case 936:
        return QByteArrayLiteral("GBK");
    case 949:
        return QByteArrayLiteral("EUC-KR");
    case 950:
        return QByteArrayLiteral("Big5");
    case 10000:
        return QByteArrayLiteral("macintosh");
    case 10007:
        return QByteArrayLiteral("x-mac-cyrillic");
    default:
        break;
    }
    if (number >= 1250 && number <= 1258)
        return "windows-" + QByteArray::number(number);
    if (number >= 437 && number <= 869)
        return "IBM" + QByteArray::number(number);
    return {};
}

QByteArray usable(const QByteArray& name)
{
    if (name.isEmpty())
        return fallback;
    return QStringDecoder(name.constData()).isValid() ? name : fallback;
}

} // namespace

QByteArray decoderName(const char* declared)
{
    if (!declared)
        return fallback;
    const QByteArray text = QByteArray(declared).trimmed();
    if (text.startsWith("LDID/")) {
        bool ok = false;
        const int driver = text.mid(5).toInt(&ok);
        if (!ok)
            return fallback;
        for (const auto& [byte, codePage] : languageDrivers) {
            if (byte == driver)
                return usable(nameOfCodePage(codePage));
        }
        return fallback;
    }
    // A ".cpg" file: a bare number is a Windows or IBM code page; "CP1252" too.
    QByteArray number = text;
    if (number.toUpper().startsWith("CP"))
        number = number.mid(2);
    bool ok = false;
    const int codePage = number.toInt(&ok);
    if (ok)
        return usable(nameOfCodePage(codePage));
    if (text.toUpper() == "UTF8")
        return QByteArrayLiteral("UTF-8");
    return usable(text);
}

} // namespace parlix::dbf
