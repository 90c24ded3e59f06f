#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "books": the address books of the data folder, one name per line, in stored order.
class BooksCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("books"); }
    QString synopsis() const override { return {}; }
    QString description() const override { return QStringLiteral("elenca le rubriche, una per riga"); }
    CommandGrammar grammar() const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
