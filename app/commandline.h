#pragma once

#include <QStringList>

namespace parlix {

// What `parlix --version` and `parlix --help` print; both are answered before
// any window system is touched, so they work without a display.
namespace commandline {

enum class Request { Run, Version, Help, Refused };

// The words of `parlix` (the program's name first): --home CARTELLA (or --home=CARTELLA), --init,
// --version, -h/--help and the options Qt's own windows take (-platform, -style...). --help or -h wins
// over --version; any other word is refused, with why in `error`, before anything is created.
Request request(const QStringList& arguments, QString* error = nullptr);
// The data folder --home names, or nothing when it is not given.
QString homeArgument(const QStringList& arguments);

QString versionText();
QString helpText();

} // namespace commandline

} // namespace parlix
