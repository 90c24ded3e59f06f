#pragma once

#include <QDateTime>
#include <QString>

namespace parlix {

// Where the program takes the time of day from; tests install a fixed one.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

// The `Data` text of message rows: local time as dd/MM/yyyy HH:mm:ss whatever
// the locale, because rows are later found by comparing this text.
QString messageDate(const QDateTime& when);

} // namespace parlix
