#pragma once

#include <QStringList>

namespace parlix {

// What `parlix --version` and `parlix --help` print; both are answered before
// any window system is touched, so they work without a display.
namespace commandline {

enum class Request { Run, Version, Help };

// --help or -h wins over --version; anything else runs the program.
Request request(const QStringList& arguments);

QString versionText();
QString helpText();

} // namespace commandline

} // namespace parlix
