#include "clickablelabel.h"

#include <QMouseEvent>

#include <utility>

namespace parlix {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool secondRelease = std::exchange(inDoubleClick_, false);
    if (event->button() == Qt::LeftButton && !secondRelease && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        inDoubleClick_ = true;
        emit doubleClicked();
    }
    QLabel::mouseDoubleClickEvent(event);
}

} // namespace parlix
