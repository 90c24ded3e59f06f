#include "scripteddialogs.h"

#include <gtest/gtest.h>

namespace parlix::test {

namespace {
const char* kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message:
        return "message box";
    case ScriptedDialogs::Kind::Input:
        return "input box";
    case ScriptedDialogs::Kind::OpenFile:
        return "open-file dialog";
    case ScriptedDialogs::Kind::SaveFile:
        return "save-file dialog";
    case ScriptedDialogs::Kind::Folder:
        return "folder chooser";
    }
    return "dialog";
}
} // namespace

ScriptedDialogs::~ScriptedDialogs()
{
    for (const Expected& left : expected_)
        ADD_FAILURE() << "expected " << kindName(left.kind) << " never shown: " << left.text.toStdString();
}

void ScriptedDialogs::expectMessage(const QString& text, MessageIcon icon, Answer answer,
                                    const QString& title)
{
    expected_.push_back({Kind::Message, text, title, icon, answer, std::nullopt});
}

void ScriptedDialogs::expectInput(const QString& prompt, std::optional<QString> answer, const QString& title)
{
    expected_.push_back({Kind::Input, prompt, title.isEmpty() ? std::nullopt : std::optional(title),
                         MessageIcon::None, Answer::Ok, std::move(answer)});
}

void ScriptedDialogs::expectOpenFile(const QString& answer)
{
    expected_.push_back({Kind::OpenFile, {}, std::nullopt, MessageIcon::None, Answer::Ok, answer});
}

void ScriptedDialogs::expectSaveFile(const QString& answer)
{
    expected_.push_back({Kind::SaveFile, {}, std::nullopt, MessageIcon::None, Answer::Ok, answer});
}

void ScriptedDialogs::expectFolder(const QString& answer)
{
    expected_.push_back({Kind::Folder, {}, std::nullopt, MessageIcon::None, Answer::Ok, answer});
}

std::optional<ScriptedDialogs::Expected> ScriptedDialogs::next(Kind kind, const Call& call)
{
    calls_.push_back(call);
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << call.text.toStdString();
        return std::nullopt;
    }
    Expected e = expected_.front();
    expected_.pop_front();
    if (e.kind != kind) {
        ADD_FAILURE() << "expected " << kindName(e.kind) << " \"" << e.text.toStdString() << "\", got "
                      << kindName(kind) << " \"" << call.text.toStdString() << "\"";
        return std::nullopt;
    }
    if (kind == Kind::Message || kind == Kind::Input) {
        EXPECT_EQ(call.text.toStdString(), e.text.toStdString());
    }
    if (kind == Kind::Message) {
        EXPECT_EQ(int(call.icon), int(e.icon)) << "icon of \"" << call.text.toStdString() << "\"";
    }
    if (e.title) {
        EXPECT_EQ(call.title.toStdString(), e.title->toStdString());
    }
    return e;
}

Answer ScriptedDialogs::message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                const QString& title)
{
    const auto e = next(Kind::Message, {Kind::Message, text, titleOrDefault(title), icon, buttons, {}});
    return e ? e->answer : Answer::Cancel;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString& initial, int)
{
    const auto e = next(Kind::Input, {Kind::Input, prompt, titleOrDefault(title), MessageIcon::None,
                                      MessageButtons::OkCancel, initial});
    return e ? e->reply : std::nullopt;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& folder, const QString&)
{
    const auto e = next(Kind::OpenFile, {Kind::OpenFile, {}, titleOrDefault(title), {}, {}, folder});
    return e && e->reply ? *e->reply : QString();
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& folder, const QString&)
{
    const auto e = next(Kind::SaveFile, {Kind::SaveFile, {}, titleOrDefault(title), {}, {}, folder});
    return e && e->reply ? *e->reply : QString();
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString& folder)
{
    const auto e = next(Kind::Folder, {Kind::Folder, {}, titleOrDefault(title), {}, {}, folder});
    return e && e->reply ? *e->reply : QString();
}

} // namespace parlix::test
