#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QProgressBar;

namespace parlix {

// "Form12", shown while contacts are imported; the import closes it. It shows
// how many rows of the file have been read and, while the import runs on the
// window's thread, lets the program repaint.
class ImportWaitBox : public QWidget
{
    Q_OBJECT

public:
    explicit ImportWaitBox(QWidget* parent = nullptr);

    // Shows the box and paints it before the import starts.
    void start();
    // `done` rows of `total` read. Every few tens of milliseconds the pending
    // paint and timer events are handled (input is held back, so nothing else
    // can start meanwhile).
    void setProgress(int done, int total);

    QProgressBar* progressBar() const { return progress_; }

private:
    void repaintNow();

    QProgressBar* progress_;
    QElapsedTimer sinceRepaint_;
};

} // namespace parlix
