#include "csvexport.h"

#include "core/textfile.h"
#include "transfer/csvformat.h"

namespace parlix {

QByteArray contactsFileBytes(const std::vector<Contact>& contacts)
{
    QByteArray text = csv::header().toUtf8() + "\r\n";
    for (const Contact& contact : contacts) {
        text += csv::writeContact(contact).toUtf8();
        text += "\r\n";
    }
    return text;
}

bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts, QString* error)
{
    return textfile::writeWhole(path, contactsFileBytes(contacts), textfile::Access::Normal, error);
}

} // namespace parlix
