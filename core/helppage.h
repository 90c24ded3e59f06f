#pragma once

#include <QByteArray>

namespace parlix {

// The help page installed as parlix.html in the data folder (UTF-8 HTML).
QByteArray helpPage();

} // namespace parlix
