#include "csvexport.h"

#include "core/textfile.h"
#include "transfer/csvformat.h"

namespace parlix {

bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts)
{
    QByteArray text = csv::header().toUtf8() + "\r\n";
    for (const Contact& contact : contacts) {
        text += csv::writeContact(contact).toUtf8();
        text += "\r\n";
    }
    return textfile::writeWhole(path, text);
}

} // namespace parlix
