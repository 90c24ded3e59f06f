#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace parlix::cli {

// "FILE [--book NOME]", the words of the import and export commands. The book
// is "Principale" unless named. FILE may be "-" (standard input or output, for
// the commands that read or write it).
struct FileArguments
{
    QString file;
    QString book;
};

// Nothing when the words do not fit.
std::optional<FileArguments> parseFileArguments(const QStringList& arguments);

} // namespace parlix::cli
