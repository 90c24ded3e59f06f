#pragma once

#include "core/dialogs.h"

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace parlix::test {

// A dialogs service for tests: every dialog the code opens must have been
// announced in order with expect...(); its text, icon and title are checked,
// and the scripted answer is returned. An unexpected dialog, a mismatch or an
// expectation left over at destruction fails the test.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder };

    struct Call
    {
        Kind kind;
        QString text; // message text or input prompt
        QString title;
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        QString initial; // input box's initial text, or file dialog's folder
    };

    ~ScriptedDialogs() override;

    void expectMessage(const QString& text, MessageIcon icon, Answer answer = Answer::Ok,
                       const QString& title = QStringLiteral("Parlix"));
    void expectInput(const QString& prompt, std::optional<QString> answer, const QString& title = {});
    void expectOpenFile(const QString& answer);
    void expectSaveFile(const QString& answer);
    void expectFolder(const QString& answer);

    // Everything asked so far, expected or not.
    const std::vector<Call>& calls() const { return calls_; }
    bool done() const { return expected_.empty(); }

    Answer message(const QString& text, MessageIcon icon, MessageButtons buttons,
                   const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial,
                                 int maxLength) override;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& title, const QString& folder, const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& folder) override;

private:
    struct Expected
    {
        Kind kind;
        QString text;
        std::optional<QString> title; // checked only when given
        MessageIcon icon = MessageIcon::None;
        Answer answer = Answer::Ok;
        std::optional<QString> reply;
    };

    std::optional<Expected> next(Kind kind, const Call& call);

    std::deque<Expected> expected_;
    std::vector<Call> calls_;
};

} // namespace parlix::test
