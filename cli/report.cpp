#include "report.h"

namespace parlix::cli {

void report(Console& console, const QJsonObject& fields, const QString& text)
{
    if (!console.json) {
        console.out << text;
        return;
    }
    for (auto it = fields.begin(); it != fields.end(); ++it)
        console.report.insert(it.key(), it.value());
}

void showProgress(Console& console, const QString& line, bool done)
{
    if (!console.progress)
        return;
    console.err << '\r' << line << (done ? "\n" : "");
    console.err.flush();
    console.progressLineOpen = !done;
}

void endProgress(Console& console)
{
    if (!console.progressLineOpen)
        return;
    console.err << '\n';
    console.progressLineOpen = false;
}

Progress transferProgress(Console& console, const QString& what)
{
    if (!console.progress)
        return {};
    return [&console, what](int done, int total) {
        showProgress(console,
                     total > 0 ? QStringLiteral("%1: %2 di %3").arg(what).arg(done).arg(total)
                               : QStringLiteral("%1: %2").arg(what).arg(done),
                     total > 0 && done >= total);
    };
}

} // namespace parlix::cli
