#include "screenfit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace parlix {

namespace {

// Room kept for the window manager's frame before the window has one.
constexpr int frameAllowance = 8;
constexpr int titleAllowance = 32;

} // namespace

void ScreenFit::fit(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds, as far as it is known yet.
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const int frameWidth = std::max(frame.width() - inner.width(), 2 * frameAllowance);
    const int frameHeight = std::max(frame.height() - inner.height(), titleAllowance + frameAllowance);
    const QSize room(area.width() - frameWidth, area.height() - frameHeight);
    const QSize smallest = window.minimumSize().expandedTo(window.minimumSizeHint());
    const QSize wanted = window.size().boundedTo(room).expandedTo(smallest.boundedTo(window.size()));
    if (wanted != window.size())
        window.resize(wanted);
    // Wholly on the screen, the title bar first when it cannot all fit.
    QPoint topLeft = window.pos();
    topLeft.setX(
        std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - wanted.width() - frameWidth)));
    topLeft.setY(
        std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - wanted.height() - frameHeight)));
    if (topLeft != window.pos())
        window.move(topLeft);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen)
            fit(*widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace parlix
