#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

// The folder that holds the program's files: configuration files, the book
// list, the template, the books and the help page. Names inside it are found
// without regard to letter case, as they were on the original platform, so
// "Prefissi.txt" and "prefissi.txt" are the same file.
class DataFolder
{
public:
    explicit DataFolder(QString root);

    // --home DIR on the command line, else $PARLIX_HOME, else $XDG_DATA_HOME/parlix
    // (~/.local/share/parlix).
    static QString defaultRoot(const QStringList& arguments);

    const QString& root() const { return root_; }

    // The path of `name` (which may contain "/"): every component that exists
    // under another case is taken as it is on disk; missing ones stay as given.
    QString path(const QString& name) const;

    QString bookList() const;     // elenco.mdb
    QString bookTemplate() const; // rubrica_base.mdb
    QString booksDir() const;     // rubriche
    // The file of a book in "rubriche"; empty when the name is no plain file
    // name or the file resolves to a place outside that folder.
    QString bookPath(const QString& book) const;

private:
    QString root_;
};

} // namespace parlix
