#pragma once

#include <QString>

#include <optional>

namespace parlix {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
// The ...Default... sets are for questions whose first answer throws something
// away: Enter, or a stray key, gives the second.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo, OkCancelDefaultCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Every modal message, question, input box and file dialog of the program goes
// through this service, so that a test can answer it and check what was asked.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // An empty title stands for the program's title, "Parlix".
    virtual Answer message(const QString& text, MessageIcon icon = MessageIcon::None,
                           MessageButtons buttons = MessageButtons::Ok, const QString& title = {}) = 0;
    // Nothing when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial = {}, int maxLength = 0) = 0;
    // The chosen file, or an empty text when the user cancels.
    virtual QString openFile(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& folder, const QString& filter) = 0;
    // The chosen folder, or an empty text when the user cancels.
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;

    static QString titleOrDefault(const QString& title)
    {
        return title.isEmpty() ? QStringLiteral("Parlix") : title;
    }
};

} // namespace parlix
