#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;
class QRect;

namespace qwirl {

// The control's picture and how it draws itself in a form designer.
namespace DesignTimeDrawing {

// The control's icon, in 16 and 32 pixels: a white speech bubble on a blue square.
QIcon icon();
QPixmap iconPixmap(int size);

// Within `bounds`: a white fill; the 32-pixel icon with its left edge at the horizontal centre minus 16 and
// its top at y = 10 (a fixed place, whatever the top of `bounds`); "QWIRL 1.6" on an opaque background,
// centred horizontally, with its baseline at the centre of `bounds` moved down by 32.
void paint(QPainter& painter, const QRect& bounds);

// Where paint() puts the text's reference point: horizontal centre and baseline.
QPoint textReferencePoint(const QRect& bounds);

} // namespace DesignTimeDrawing
} // namespace qwirl
