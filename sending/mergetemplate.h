#pragma once

#include "contacts/contact.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace parlix {

// A message text that may hold merge fields: {Nome}, {Cognome}, {Cellulare}
// and {Email}, the names without regard to case and blanks allowed inside the
// braces. Each recipient gets the text with its own contact's values in place
// of the fields. Only braces around a name (letters, digits, "_", beginning
// with a letter) make a field: "{:-)}" or "{ }" are ordinary text, so a text
// without fields is sent exactly as typed.
class MergeTemplate
{
public:
    enum class Field { Nome, Cognome, Cellulare, Email };

    explicit MergeTemplate(const QString& text);

    const QString& text() const { return text_; }
    // The text holds at least one field, known or not.
    bool personalised() const { return fieldCount_ > 0; }
    // The names written between braces that are no field, as written, each
    // once, in the order they first appear. A text with any cannot be sent.
    const QStringList& unknownFields() const { return unknown_; }

    // The text for one contact. Blanks around a value are dropped (a stored
    // " " stands for an empty field); an empty value leaves nothing in its place.
    QString fill(const Contact& contact) const;

    // "{Nome}, {Cognome}, {Cellulare}, {Email}"
    static QString knownFields();
    // What the user is told about unknown fields; it lists the fields that exist.
    static QString unknownFieldsMessage(const QStringList& unknown);

private:
    struct Piece
    {
        QString literal; // text before the field, or the whole tail
        std::optional<Field> field;
    };

    QString text_;
    std::vector<Piece> pieces_;
    int fieldCount_ = 0;
    QStringList unknown_;
};

} // namespace parlix
