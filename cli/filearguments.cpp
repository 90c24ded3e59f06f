#include "filearguments.h"

namespace parlix::cli {

std::optional<FileArguments> parseFileArguments(const QStringList& arguments)
{
    FileArguments parsed{{}, QStringLiteral("Principale")};
    bool haveFile = false;
    bool haveBook = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QStringLiteral("--book")) {
            if (haveBook || i + 1 >= arguments.size())
                return std::nullopt;
            parsed.book = arguments.at(++i);
            haveBook = true;
        } else if (!haveFile && (word == u'-' || !word.startsWith(u'-'))) {
            parsed.file = word;
            haveFile = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveFile)
        return std::nullopt;
    return parsed;
}

} // namespace parlix::cli
