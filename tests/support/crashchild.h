#pragma once

#include <QProcess>

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

namespace parlix::test {

// Starts `program` with `arguments` as a child process that dies at
// `faultPoint` (the `hits`-th time it is reached) when one is given, as on a
// power cut; the rest of the environment is the test's own.
std::unique_ptr<QProcess> startChild(const QString& program, const QStringList& arguments,
                                     const QString& faultPoint = {}, int hits = 1);

// Waits for the child and tells whether it was killed, with what it wrote on
// standard error when it was not, for the test's message.
::testing::AssertionResult diedAtFaultPoint(QProcess& child, int timeoutMs = 30000);

// What SQLite's integrity check says of a database file: "ok" when sound.
QString integrity(const QString& path);

} // namespace parlix::test
