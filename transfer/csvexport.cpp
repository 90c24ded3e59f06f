#include "csvexport.h"

#include "core/textfile.h"
#include "transfer/csvformat.h"

namespace parlix {

namespace {

// Bytes gathered before they go to the sink.
constexpr qsizetype blockBytes = 64 * 1024;

void appendLine(QByteArray& text, const Contact& contact)
{
    text += contact.nome.toUtf8();
    text += ';';
    text += contact.cognome.toUtf8();
    text += ';';
    text += contact.cellulare.toUtf8();
    text += ';';
    text += contact.email.toUtf8();
    text += "\r\n";
}

} // namespace

std::optional<int> writeBookContacts(const ProgramState& state, const QString& book, const ByteSink& sink)
{
    QByteArray block = csv::header().toUtf8() + "\r\n";
    block.reserve(blockBytes + 1024);
    int written = 0;
    bool ok = true;
    forEachBookContact(state, book, [&](const Contact& contact) {
        appendLine(block, contact);
        ++written;
        if (block.size() >= blockBytes) {
            ok = sink(block);
            block.resize(0);
        }
        return ok;
    });
    if (ok)
        ok = sink(block);
    return ok ? std::optional<int>(written) : std::nullopt;
}

QByteArray contactsFileBytes(const std::vector<Contact>& contacts)
{
    QByteArray text = csv::header().toUtf8() + "\r\n";
    for (const Contact& contact : contacts)
        appendLine(text, contact);
    return text;
}

bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts, QString* error)
{
    return textfile::writeWhole(path, contactsFileBytes(contacts), textfile::Access::Normal, error);
}

} // namespace parlix
