// Windows open within the free area of the screen.
#include "ui/screenfit.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>

#include <gtest/gtest.h>

using namespace parlix;

TEST(ScreenFit, WindowsTooLargeOrOffTheScreenAreBroughtWithin)
{
    ScreenFit fit;
    qApp->installEventFilter(&fit);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const std::pair<QSize, QPoint> cases[] = {{area.size() + QSize(400, 300), area.topLeft()},
                                              {area.size(), area.topLeft()},
                                              {QSize(300, 200), area.bottomRight() + QPoint(50, 50)},
                                              {QSize(300, 200), area.topLeft() - QPoint(500, 500)}};
    for (const auto& [size, position] : cases) {
        QDialog window;
        window.setGeometry(QRect(position, size));
        window.show();
        EXPECT_TRUE(area.contains(window.geometry()))
            << window.x() << ',' << window.y() << ' ' << window.width();
        EXPECT_TRUE(size.width() > area.width() / 2 ||
                    window.size() == size); // a window that fits keeps its size
    }
    qApp->removeEventFilter(&fit);
}
