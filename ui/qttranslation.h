#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace parlix {

// Qt's own texts (standard buttons, file dialogs, the text fields' context
// menu) in the user's language. Our own texts are Italian, so Italian is the
// language whenever Qt has no translation for the locale's.
class QtTranslation
{
public:
    // The translation file ("qtbase_it.qm", ...) for this locale found in
    // `folder`: the locale's own language when Qt has it there, otherwise
    // Italian; empty when not even the Italian one is there.
    static QString fileFor(const QLocale& locale, const QString& folder);
    // Qt's folder of translations on this system.
    static QString systemFolder();
    // Loads the file for `locale` and installs it in the application for the
    // rest of its life. False when no translation could be loaded (Qt's texts
    // then stay English).
    static bool install(QCoreApplication& app, const QLocale& locale = QLocale());
};

} // namespace parlix
