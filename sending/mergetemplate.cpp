#include "mergetemplate.h"

#include <QRegularExpression>

namespace parlix {

namespace {

struct FieldName
{
    const char16_t* name;
    MergeTemplate::Field field;
};

constexpr FieldName fieldNames[] = {
    {u"Nome", MergeTemplate::Field::Nome},
    {u"Cognome", MergeTemplate::Field::Cognome},
    {u"Cellulare", MergeTemplate::Field::Cellulare},
    {u"Email", MergeTemplate::Field::Email},
};

std::optional<MergeTemplate::Field> fieldNamed(QStringView name)
{
    for (const FieldName& known : fieldNames) {
        if (name.compare(QStringView(known.name), Qt::CaseInsensitive) == 0)
            return known.field;
    }
    return std::nullopt;
}

const QRegularExpression& fieldPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{\\s*(\\p{L}[\\p{L}\\p{N}_]*)\\s*\\}"));
    return pattern;
}

} // namespace

MergeTemplate::MergeTemplate(const QString& text) : text_(text)
{
    qsizetype from = 0;
    QRegularExpressionMatchIterator matches = fieldPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        ++fieldCount_;
        const QString name = match.captured(1);
        const std::optional<Field> field = fieldNamed(name);
        if (!field) {
            if (!unknown_.contains(name))
                unknown_ << name;
            continue;
        }
        pieces_.push_back({text.mid(from, match.capturedStart() - from), field});
        from = match.capturedEnd();
    }
    pieces_.push_back({text.mid(from), std::nullopt});
}

QString MergeTemplate::fill(const Contact& contact) const
{
    if (!fieldCount_)
        return text_;
    QString filled;
    filled.reserve(text_.size() + 32);
    for (const Piece& piece : pieces_) {
        filled += piece.literal;
        if (!piece.field)
            continue;
        switch (*piece.field) {
        case Field::Nome:
            filled += contact.nome.trimmed();
            break;
        case Field::Cognome:
            filled += contact.cognome.trimmed();
            break;
        case Field::Cellulare:
            filled += contact.cellulare.trimmed();
            break;
        case Field::Email:
            filled += contact.email.trimmed();
            break;
        }
    }
    return filled;
}

QString MergeTemplate::knownFields()
{
    QStringList names;
    for (const FieldName& known : fieldNames)
        names << u'{' + QString::fromUtf16(known.name) + u'}';
    return names.join(QStringLiteral(", "));
}

QString MergeTemplate::unknownFieldsMessage(const QStringList& unknown)
{
    QStringList written;
    for (const QString& name : unknown)
        written << u'{' + name + u'}';
    return (unknown.size() == 1 ? QStringLiteral("Il campo %1 non esiste.")
                                : QStringLiteral("I campi %1 non esistono."))
               .arg(written.join(QStringLiteral(", "))) +
           QStringLiteral(" I campi che si possono usare sono %1.").arg(knownFields());
}

} // namespace parlix
