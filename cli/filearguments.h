#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace parlix::cli {

// "FILE [--book NOME]", the words of the CSV commands. The book is
// "Principale" unless named.
struct FileArguments
{
    QString file;
    QString book;
};

// Nothing when the words do not fit.
std::optional<FileArguments> parseFileArguments(const QStringList& arguments);

} // namespace parlix::cli
