#pragma once

#include <QString>
#include <QStringList>

namespace parlix::accesslevel {

// The four access levels. A record keeps the one-character code; the account
// form shows the level box text and a caption. No code (an empty level) is
// allowed: it is what a level box holding none of the names gives.

// "Administrator", "Power User", "User", "Guest", in code order.
QStringList names();
// The code of a level box text; empty for any other text.
QString codeOfName(const QString& name);
// The level box text of a code; empty for an unknown code.
QString nameOfCode(const QString& code);
// The caption of a code, the name after one blank; empty for an unknown code.
QString captionOfCode(const QString& code);
// "1" to "4" or a level name in any letter case; empty for anything else.
QString codeOfArgument(const QString& argument);

} // namespace parlix::accesslevel
