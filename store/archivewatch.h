#pragma once

#include <QObject>

namespace parlix {

// Says when one archive (a table of a book) has been changed by another seat,
// so that a window showing it can read it again. Changes made through the
// seat's own store are not reported: whoever makes them knows. A store that is
// not shared (the SQLite files of the data folder) gives a watch that never
// fires.
class ArchiveWatch : public QObject
{
    Q_OBJECT

public:
    explicit ArchiveWatch(QObject* parent = nullptr) : QObject(parent) {}

signals:
    // The archive may differ from what was last read. A burst of changes
    // gives one signal. A watch may also fire once soon after it is made, when
    // it cannot tell whether changes were made just before.
    void changed();
};

} // namespace parlix
