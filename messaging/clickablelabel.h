#pragma once

#include <QLabel>

namespace parlix {

// A label that reports single and double clicks of the left button. A double
// click counts as one click followed by the double click, never two clicks.
// Given keyboard focus, Space and Enter are a click and the label shows it
// has the focus.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool inDoubleClick_ = false;
};

} // namespace parlix
