#include "mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <functional>

namespace parlix::mnemonics {

namespace {

// The caption with a "&" before the letter chosen, or unchanged when every
// letter of it is taken.
QString marked(const QString& caption, QString& taken)
{
    const auto free = [&taken](QChar c) { return c.isLetterOrNumber() && !taken.contains(c.toLower()); };
    qsizetype chosen = -1;
    for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
        const bool startsWord = i == 0 || !caption.at(i - 1).isLetterOrNumber();
        if (startsWord && free(caption.at(i)))
            chosen = i;
    }
    for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
        if (free(caption.at(i)))
            chosen = i;
    }
    if (chosen < 0)
        return caption;
    taken += caption.at(chosen).toLower();
    return caption.left(chosen) + u'&' + caption.mid(chosen);
}

// Gives letters to the captions without one, after counting those they have.
void assignAll(const QStringList& captions, QString taken, const std::function<void(int, QString)>& set)
{
    for (const QString& caption : captions) {
        if (const QChar letter = letterOf(caption); !letter.isNull())
            taken += letter;
    }
    for (int i = 0; i < int(captions.size()); ++i) {
        const QString& caption = captions.at(i);
        if (!caption.trimmed().isEmpty() && letterOf(caption).isNull())
            set(i, marked(caption, taken));
    }
}

} // namespace

QChar letterOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toLower();
        ++i; // "&&" is a plain "&"
    }
    return {};
}

void assign(QMenu& menu)
{
    QList<QAction*> entries;
    QStringList captions;
    for (QAction* entry : menu.actions()) {
        if (entry->isSeparator())
            continue;
        entries << entry;
        captions << entry->text();
    }
    assignAll(captions, {}, [&entries](int i, const QString& text) { entries.at(i)->setText(text); });
}

void assign(QWidget& window, const QString& reserved)
{
    QList<QAbstractButton*> buttons;
    QList<QAbstractButton*> pictures; // buttons with a picture and a tool tip, no text
    QList<QLabel*> labels;
    QStringList captions;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        // Tool buttons stand for actions, which carry their own keys.
        if (qobject_cast<QToolButton*>(button) || button->text().isEmpty())
            continue;
        buttons << button;
        captions << button->text();
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy() && label->textFormat() != Qt::RichText) {
            labels << label;
            captions << label->text();
        }
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QToolButton*>(button) && button->text().isEmpty() && !button->toolTip().isEmpty() &&
            button->shortcut().isEmpty()) {
            pictures << button;
            captions << button->toolTip();
        }
    }
    const int buttonCount = int(buttons.size());
    const int labelCount = int(labels.size());
    assignAll(captions, reserved.toLower(), [&](int i, const QString& text) {
        if (i < buttonCount) {
            buttons.at(i)->setText(text);
        } else if (i < buttonCount + labelCount) {
            labels.at(i - buttonCount)->setText(text);
        } else {
            // A picture button answers Alt and the letter, which its tool tip shows.
            QAbstractButton* button = pictures.at(i - buttonCount - labelCount);
            const QChar letter = letterOf(text);
            if (letter.isNull())
                return;
            button->setShortcut(QKeySequence(QStringLiteral("Alt+") + letter.toUpper()));
            button->setToolTip(QStringLiteral("%1 (Alt+%2)").arg(button->toolTip(), letter.toUpper()));
            if (button->accessibleName().isEmpty())
                button->setAccessibleName(QString(text).remove(u'&'));
        }
    });
}

} // namespace parlix::mnemonics
