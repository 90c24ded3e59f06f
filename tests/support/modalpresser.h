#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

class QWidget;

namespace parlix::test {

// Answers the real boxes the code opens (QMessageBox, QInputDialog,
// QFileDialog) the way a user does: a timer waits for the box to be the
// active modal window and clicks the button with the given caption ("&" not
// counted), so the wiring from the box to the code is what a user gets.
class ModalPresser : public QObject
{
public:
    ModalPresser();

    // Queues a press; presses happen in the order queued, one per box.
    // `before` runs on the box first (to type into it).
    void press(const QString& caption, std::function<void(QWidget*)> before = {});
    // Queues the Escape key on the next box.
    void escape();

    // The text of every message box pressed so far, or the window title of the
    // other boxes.
    const QStringList& texts() const { return texts_; }
    bool done() const { return pending_.empty(); }

private:
    struct Press
    {
        QString caption; // empty: Escape
        std::function<void(QWidget*)> before;
    };

    void tick();

    QTimer timer_;
    std::deque<Press> pending_;
    QStringList texts_;
    QWidget* lastBox_ = nullptr;
};

} // namespace parlix::test
