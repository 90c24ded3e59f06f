#pragma once

#include <QLabel>

namespace parlix {

// A one-line label that keeps its whole text (text() gives it all, and the
// tool tip shows it) but draws only what fits, ending with "…". It asks for
// little room, so a long text never pushes its neighbours aside.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as drawn at the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace parlix
