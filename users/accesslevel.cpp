#include "accesslevel.h"

namespace parlix::accesslevel {

QStringList names()
{
    return {QStringLiteral("Administrator"), QStringLiteral("Power User"), QStringLiteral("User"),
            QStringLiteral("Guest")};
}

QString codeOfName(const QString& name)
{
    const qsizetype index = names().indexOf(name);
    return index < 0 ? QString() : QString::number(index + 1);
}

QString nameOfCode(const QString& code)
{
    const QStringList all = names();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (code == QString::number(i + 1))
            return all.at(i);
    }
    return {};
}

QString captionOfCode(const QString& code)
{
    const QString name = nameOfCode(code);
    return name.isEmpty() ? QString() : QLatin1Char(' ') + name;
}

QString codeOfArgument(const QString& argument)
{
    if (!nameOfCode(argument).isEmpty())
        return argument;
    for (const QString& name : names()) {
        if (name.compare(argument, Qt::CaseInsensitive) == 0)
            return codeOfName(name);
    }
    return {};
}

} // namespace parlix::accesslevel
