#include "usertimer.h"

#include <QProcess>

namespace parlix {

UserTimer::UserTimer(QString program) : program_(std::move(program)) {}

QString UserTimer::enableCommand()
{
    return QStringLiteral("systemctl --user enable --now ") + unit();
}

bool UserTimer::enabled() const
{
    return run({QStringLiteral("--user"), QStringLiteral("is-enabled"), unit()}).exitCode == 0;
}

std::optional<QString> UserTimer::enable() const
{
    const Result result =
        run({QStringLiteral("--user"), QStringLiteral("enable"), QStringLiteral("--now"), unit()});
    if (result.exitCode == 0)
        return std::nullopt;
    return result.output.isEmpty() ? QStringLiteral("il comando non ha risposto") : result.output;
}

QString UserTimer::failureText(const QString& detail)
{
    return QStringLiteral("Il timer utente non si è potuto attivare:\n%1\n\nParlix resta aperto, così gli "
                          "invii programmati partono all'ora prevista. Per attivare il timer a mano: %2")
        .arg(detail, enableCommand());
}

UserTimer::Result UserTimer::run(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program_, arguments);
    if (!process.waitForStarted(TimeoutMs))
        return {-1, QStringLiteral("%1 non si avvia: %2").arg(program_, process.errorString())};
    if (!process.waitForFinished(TimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}};
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, output};
}

} // namespace parlix
