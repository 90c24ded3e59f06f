// Qt's own texts follow the locale, Italian when Qt has no translation for it.
#include "ui/qttranslation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace parlix;

TEST(QtTranslation, ChoosesTheLocalesLanguageElseItalian)
{
    QTemporaryDir folder;
    for (const char* language : {"it", "de", "pt_BR"})
        QFile(folder.filePath(QStringLiteral("qtbase_%1.qm").arg(QLatin1String(language))))
            .open(QIODevice::WriteOnly);
    const std::pair<const char*, const char*> cases[] = {
        {"it_IT", "it"}, {"de_DE", "de"}, {"pt_BR", "pt_BR"}, {"fr_FR", "it"}, {"C", "it"}};
    for (const auto& [locale, language] : cases)
        EXPECT_EQ(QtTranslation::fileFor(QLocale(QLatin1String(locale)), folder.path()),
                  folder.filePath(QStringLiteral("qtbase_%1.qm").arg(QLatin1String(language))));
    QFile::remove(folder.filePath(QStringLiteral("qtbase_it.qm")));
    EXPECT_EQ(QtTranslation::fileFor(QLocale(QStringLiteral("fr_FR")), folder.path()), QString());
}

TEST(QtTranslation, QtsStandardTextsReadItalianOnceInstalled)
{
    ASSERT_TRUE(QtTranslation::install(*qApp, QLocale(QLocale::Italian, QLocale::Italy)));
    EXPECT_EQ(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
              QStringLiteral("Annulla"));
    QLineEdit edit(QStringLiteral("testo"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* entry : menu->actions())
        texts << entry->text().remove(u'&').section(u'\t', 0, 0);
    EXPECT_TRUE(texts.contains(QStringLiteral("Incolla")) &&
                texts.contains(QStringLiteral("Seleziona tutto")))
        << texts.join(u',').toStdString();
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(files.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text().remove(u'&'),
              QStringLiteral("Cerca in:"));
}
