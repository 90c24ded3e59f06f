#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace parlix {

// The systemd user timer the package installs to send the batches kept for
// later while the program is closed, driven through systemctl (or another
// program taking its arguments, for tests and other service managers).
class UserTimer
{
public:
    explicit UserTimer(QString program = QStringLiteral("systemctl"));

    static QString unit() { return QStringLiteral("parlix-run-scheduled.timer"); }
    // The command that turns it on, as the user would type it.
    static QString enableCommand();

    // Whether it is enabled; false also when nobody can tell.
    bool enabled() const;
    // Enables and starts it; nothing when done, otherwise what went wrong.
    std::optional<QString> enable() const;
    // What the user is told when enabling failed with `detail`.
    static QString failureText(const QString& detail);

private:
    static constexpr int TimeoutMs = 5000;

    struct Result
    {
        int exitCode = -1;
        QString output;
    };
    Result run(const QStringList& arguments) const;

    QString program_;
};

} // namespace parlix
