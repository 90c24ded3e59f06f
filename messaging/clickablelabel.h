#pragma once

#include <QLabel>

namespace parlix {

// A label that reports single and double clicks of the left button. A double
// click counts as one click followed by the double click, never two clicks.
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

private:
    bool inDoubleClick_ = false;
};

} // namespace parlix
