#include "batchsupport.h"
#include "contacts/bookcatalog.h"
#include "messaging/statisticswindow.h"
#include "tests/support/modalpresser.h"
#include "tests/support/testhome.h"
#include "ui/qtdialogs.h"

#include <QAbstractBarSeries>
#include <QAbstractSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QPushButton>
#include <QValueAxis>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::waitUntil;

namespace {

QStringList titles(const QList<QAbstractAxis*>& axes)
{
    QStringList list;
    for (const QAbstractAxis* axis : axes)
        list << axis->titleText();
    return list;
}

} // namespace

// The window reads a year of two books off its own thread, draws it, and
// saves what it drew.
TEST(StatisticsWindow, DrawsTheBooksStackedWithTheCreditLineAndSavesChartAndTable)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    test::TestHome home;
    ASSERT_EQ(BookCatalog(home.state).create(QStringLiteral("Clienti")), BookCatalog::Outcome::Done);
    home.addMessage(QStringLiteral("Principale"), QStringLiteral("inviati"), QStringLiteral("<lista>"),
                    QStringLiteral("3331;3332"), QStringLiteral("10/03/2026 10:00:00"),
                    QStringLiteral("Ciao"));
    home.addMessage(QStringLiteral("Clienti"), QStringLiteral("inviati"), QStringLiteral("Rossi"),
                    QStringLiteral("3333"), QStringLiteral("01/02/2026 09:00:00"), QString(170, u'x'));
    home.writeFile(QStringLiteral("residui.txt"), {QStringLiteral("40")});

    StatisticsWindow window(home.context());
    int draws = 0;
    QObject::connect(&window, &StatisticsWindow::drawn, [&] { ++draws; });
    window.show();
    ASSERT_TRUE(waitUntil([&] { return draws == 1; }));

    auto* view = window.findChild<QChartView*>(QStringLiteral("grafico"));
    const QChart* chart = view->chart();
    QStringList series;
    for (const QAbstractSeries* one : chart->series())
        series << one->name();
    EXPECT_EQ(series, (QStringList{QStringLiteral("SMS"), QStringLiteral("Credito speso")}));
    EXPECT_EQ(titles(chart->axes(Qt::Horizontal)), QStringList{QStringLiteral("Mese")});
    EXPECT_EQ(titles(chart->axes(Qt::Vertical)),
              (QStringList{QStringLiteral("SMS"), QStringLiteral("Credito speso (SMS)")}));
    QStringList sets;
    for (const QBarSet* set : static_cast<const QAbstractBarSeries*>(chart->series()[0])->barSets())
        sets << set->label() + u'=' + QString::number(set->at(10)) + u',' + QString::number(set->at(11));
    EXPECT_EQ(sets, (QStringList{QStringLiteral("Principale=0,2"), QStringLiteral("Principale rifiutati=0,0"),
                                 QStringLiteral("Clienti=2,0"), QStringLiteral("Clienti rifiutati=0,0")}));
    const auto* credit = static_cast<const QLineSeries*>(chart->series()[1]);
    ASSERT_EQ(credit->count(), 12); // April 2025 to March 2026
    EXPECT_EQ(credit->at(10), QPointF(10, 2));
    EXPECT_EQ(credit->at(11), QPointF(11, 2));

    window.showPeriod(QDate(2026, 2, 1), QDate(2026, 3, 14), StatisticsStep::Month);
    ASSERT_TRUE(waitUntil([&] { return draws == 2; }));
    const QString png = home.path(QStringLiteral("grafico.png"));
    home.dialogs.expectSaveFile(png);
    window.findChild<QPushButton*>(QStringLiteral("esportaPng"))->click();
    const QImage image(png);
    EXPECT_EQ(image.size(), view->size());
    EXPECT_NE(image.pixel(image.width() / 2, image.height() / 2), image.pixel(0, 0)); // something is drawn

    // The table through the real file dialog, the name typed without its suffix.
    QtDialogs realDialogs;
    StatisticsWindow shown({home.state, realDialogs, home.clock});
    shown.showPeriod(QDate(2026, 2, 1), QDate(2026, 3, 14), StatisticsStep::Month);
    QObject::connect(&shown, &StatisticsWindow::drawn, [&] { ++draws; });
    ASSERT_TRUE(waitUntil([&] { return draws == 3; }));
    test::ModalPresser presser;
    presser.press(QStringLiteral("Save"), [&](QWidget* box) {
        box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(home.path(QStringLiteral("tabella")));
    });
    shown.findChild<QPushButton*>(QStringLiteral("esportaCsv"))->click();
    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(), QStringList{QStringLiteral("Esporta tabella")});
    QFile csv(home.path(QStringLiteral("tabella.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArray("Periodo;Dal;Al;Principale accettati;Principale rifiutati;"
                                        "Clienti accettati;Clienti rifiutati;Accettati;Rifiutati;"
                                        "Esito incerto;Credito speso;Tasso di accettazione\r\n"
                                        "02/2026;01/02/2026;28/02/2026;0;0;2;0;2;0;0;2;100,0%\r\n"
                                        "03/2026;01/03/2026;14/03/2026;2;0;0;0;2;0;0;2;100,0%\r\n"
                                        "Totale;01/02/2026;14/03/2026;2;0;2;0;4;0;0;4;100,0%\r\n"));
    QLocale::setDefault(previous);
}
