#pragma once

#include "core/dialogs.h"

namespace parlix::bench {

// The dialogs of a benchmark run: every message answered OK, every other box
// cancelled, so that nothing waits for a user.
class SilentDialogs : public Dialogs
{
public:
    Answer message(const QString&, MessageIcon, MessageButtons, const QString&) override
    {
        return Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&, int) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

} // namespace parlix::bench
