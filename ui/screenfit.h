#pragma once

#include <QObject>

class QWidget;

namespace parlix {

// Keeps every window of the program within the free area of its screen (the
// desktop's panels excluded): a window about to be shown larger than that
// area is made smaller, as far as its contents allow, and moved wholly onto
// the screen.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Fits one window now.
    static void fit(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace parlix
