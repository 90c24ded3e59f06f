#pragma once

#include "core/dialogs.h"

namespace parlix {

// The dialogs service the program uses: Qt's standard boxes and file dialogs,
// parented to the active window.
class QtDialogs : public Dialogs
{
public:
    Answer message(const QString& text, MessageIcon icon, MessageButtons buttons,
                   const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial,
                                 int maxLength) override;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& title, const QString& folder, const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
};

} // namespace parlix
