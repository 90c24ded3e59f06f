#pragma once

#include <QString>

class QMenu;
class QWidget;

namespace parlix::mnemonics {

// Alt letters for what the keyboard should reach. A caption that has one
// keeps it; the others get the first free letter that starts one of their
// words, else any free letter of theirs. Letters are free when no other
// entry of the same menu, or control of the same window, has them.

// The entries of one menu.
void assign(QMenu& menu);
// The buttons, check boxes and radio buttons of a window, and the labels
// that name a field (those with a buddy); `reserved` holds letters taken
// already, e.g. by the window's menu bar.
void assign(QWidget& window, const QString& reserved = {});

// The lower-case letter a caption's "&" marks, or a null character.
QChar letterOf(const QString& caption);

} // namespace parlix::mnemonics
