#include "qttranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace parlix {

namespace {

QString existing(const QString& folder, const QString& language)
{
    const QString file = QDir(folder).filePath(QStringLiteral("qtbase_%1.qm").arg(language));
    return QFileInfo::exists(file) ? file : QString();
}

} // namespace

QString QtTranslation::fileFor(const QLocale& locale, const QString& folder)
{
    // "it_IT", then "it"; the C locale names no language.
    if (locale.language() != QLocale::C) {
        const QString name = locale.name();
        if (QString file = existing(folder, name); !file.isEmpty())
            return file;
        if (QString file = existing(folder, name.section(u'_', 0, 0)); !file.isEmpty())
            return file;
    }
    return existing(folder, QStringLiteral("it"));
}

QString QtTranslation::systemFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslation::install(QCoreApplication& app, const QLocale& locale)
{
    const QString file = fileFor(locale, systemFolder());
    if (file.isEmpty())
        return false;
    auto* translator = new QTranslator(&app);
    if (!translator->load(file)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace parlix
