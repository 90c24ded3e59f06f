#include "csvformat.h"

#include <QBuffer>
#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace parlix::csv {

namespace {

constexpr QByteArrayView nomeName = "Nome";
constexpr QByteArrayView cognomeName = "Cognome";
constexpr QByteArrayView cellulareName = "Cellulare";
constexpr QByteArrayView emailName = "Posta elettronica";
constexpr QByteArrayView byteOrderMark = "\xEF\xBB\xBF";

// Bytes read from the source at a time.
constexpr qsizetype blockBytes = 64 * 1024;

QString ansiText(QByteArrayView bytes)
{
    // Qt knows this code page through ICU, and only by this name.
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid())
        return ansi.decode(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace

QString header()
{
    return QStringLiteral("Nome;Cognome;Cellulare;Posta elettronica");
}

QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith(byteOrderMark))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return ansiText(bytes);
}

void Utf8Check::feed(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (valid_ && p < end) {
        if (need_ == 0) {
            // Most text is ASCII: pass over it eight bytes at a time.
            std::uint64_t word = 0;
            while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ULL) == 0))
                p += 8;
            if (p == end)
                break;
            const unsigned char c = *p++;
            if (c < 0x80)
                continue;
            if (c < 0xC2 || c > 0xF4) {
                valid_ = false;
                break;
            }
            need_ = c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
            low_ = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
            high_ = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        } else {
            const unsigned char c = *p++;
            if (c < low_ || c > high_) {
                valid_ = false;
                break;
            }
            low_ = 0x80;
            high_ = 0xBF;
            --need_;
        }
    }
}

LineReader::LineReader(QIODevice& source, qsizetype maxLine) : source_(source), maxLine_(maxLine) {}

bool LineReader::fill()
{
    if (start_ > 0) {
        buffer_.remove(0, start_);
        start_ = 0;
    }
    const qsizetype held = buffer_.size();
    buffer_.resize(held + blockBytes);
    const qint64 read = source_.read(buffer_.data() + held, blockBytes);
    buffer_.resize(held + std::max<qint64>(read, 0));
    if (read < 0)
        failed_ = true;
    else if (read == 0)
        atEnd_ = true;
    else
        check_.feed(QByteArrayView(buffer_).sliced(held));
    return read > 0;
}

LineReader::Next LineReader::next(QByteArrayView& line)
{
    // Set while the bytes of a line over the cap are being passed over.
    bool skipping = false;
    qsizetype scanned = start_;
    for (;;) {
        const char* from = buffer_.constData() + scanned;
        const auto* found =
            static_cast<const char*>(std::memchr(from, '\n', size_t(buffer_.size() - scanned)));
        if (found || (atEnd_ && (skipping || start_ < buffer_.size()))) {
            const char* data = buffer_.constData() + start_;
            qsizetype length = found ? found - data : buffer_.size() - start_;
            start_ = found ? (found - buffer_.constData()) + 1 : buffer_.size();
            ++number_;
            if (found && length > 0 && data[length - 1] == '\r')
                --length;
            if (skipping || length > maxLine_)
                return Next::TooLong;
            line = QByteArrayView(data, length);
            return Next::Line;
        }
        if (failed_)
            return Next::Failed;
        if (atEnd_)
            return Next::End;
        if (buffer_.size() - start_ > maxLine_ + 1) {
            // Too long already (a CR may still end it): hold none of it.
            skipping = true;
            buffer_.resize(0);
            start_ = 0;
        }
        scanned = buffer_.size() - start_;
        fill();
        scanned += start_;
    }
}

int Columns::needed() const
{
    return std::max({nome, cognome, cellulare, email}) + 1;
}

Columns readHeader(QByteArrayView line)
{
    Columns columns;
    int position = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = line.indexOf(';', from);
        const QByteArrayView name = line.sliced(from, (end < 0 ? line.size() : end) - from);
        if (name == nomeName)
            columns.nome = position;
        else if (name == cognomeName)
            columns.cognome = position;
        else if (name == cellulareName)
            columns.cellulare = position;
        else if (name == emailName)
            columns.email = position;
        if (end < 0)
            return columns;
        ++position;
        from = end + 1;
    }
}

QString writeContact(const Contact& contact)
{
    return contact.nome + u';' + contact.cognome + u';' + contact.cellulare + u';' + contact.email;
}

Outline outline(QIODevice& source, qsizetype maxLine)
{
    Outline result;
    LineReader lines(source, maxLine);
    QByteArrayView line;
    switch (lines.next(line)) {
    case LineReader::Next::End:
        return result;
    case LineReader::Next::Failed:
        result.status = Outline::Status::Failed;
        return result;
    case LineReader::Next::TooLong:
        result.status = Outline::Status::TooLong;
        result.tooLongLine = 1;
        return result;
    case LineReader::Next::Line:
        break;
    }
    result.columns = readHeader(line.startsWith(byteOrderMark) ? line.sliced(3) : line);
    const qsizetype separators = result.columns.needed() - 1;
    QByteArray stopText;
    for (;;) {
        const LineReader::Next next = lines.next(line);
        if (next == LineReader::Next::End)
            break;
        if (next == LineReader::Next::Failed) {
            result.status = Outline::Status::Failed;
            return result;
        }
        if (result.stop) {
            // The lines after the stop line are only counted, whatever their length.
            ++result.stop->skipped;
            continue;
        }
        if (next == LineReader::Next::TooLong) {
            result.status = Outline::Status::TooLong;
            result.tooLongLine = lines.number();
            return result;
        }
        // An empty line stops the import even where one value is enough.
        if (line.isEmpty() || std::count(line.begin(), line.end(), ';') < separators) {
            result.stop = StopLine{lines.number(), {}, 1};
            stopText = line.toByteArray();
            continue;
        }
        ++result.contacts;
    }
    result.utf8 = lines.validUtf8();
    if (result.stop)
        result.stop->text = result.utf8 ? QString::fromUtf8(stopText) : ansiText(stopText);
    return result;
}

bool readContacts(QIODevice& source, const Outline& outline, const std::function<void(const Fields&)>& each,
                  qsizetype maxLine)
{
    if (!source.seek(0))
        return false;
    LineReader lines(source, maxLine);
    QByteArrayView line;
    if (lines.next(line) != LineReader::Next::Line)
        return outline.contacts == 0 && !outline.stop;
    const Columns& columns = outline.columns;
    const int needed = columns.needed();
    std::vector<QByteArrayView> values(static_cast<size_t>(needed));
    QByteArray recoded;
    for (int i = 0; i < outline.contacts; ++i) {
        if (lines.next(line) != LineReader::Next::Line || line.isEmpty())
            return false;
        if (!outline.utf8) {
            recoded = ansiText(line).toUtf8();
            line = recoded;
        }
        qsizetype from = 0;
        for (int k = 0; k < needed; ++k) {
            const qsizetype end = line.indexOf(';', from);
            if (end < 0 && k + 1 < needed)
                return false; // the file changed since the outline
            values[size_t(k)] = line.sliced(from, (end < 0 ? line.size() : end) - from);
            from = end + 1;
        }
        each({values[size_t(columns.nome)], values[size_t(columns.cognome)],
              values[size_t(columns.cellulare)], values[size_t(columns.email)]});
    }
    return true;
}

Reading read(QByteArrayView bytes, qsizetype maxLine)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    Reading reading;
    Outline found = outline(source, maxLine);
    if (found.status == Outline::Status::TooLong) {
        reading.tooLongLine = found.tooLongLine;
        return reading;
    }
    reading.contacts.reserve(size_t(found.contacts));
    readContacts(
        source, found,
        [&reading](const Fields& fields) {
            reading.contacts.push_back({QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]),
                                        QString::fromUtf8(fields[2]), QString::fromUtf8(fields[3]),
                                        QStringLiteral("4")});
        },
        maxLine);
    reading.stop = std::move(found.stop);
    return reading;
}

} // namespace parlix::csv
