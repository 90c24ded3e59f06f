#pragma once

#include <QTimer>
#include <QWidget>

namespace parlix {

// "Form10", shown while an address book is exported. The export ends it with
// finish(): the box closes at the next idle moment.
class ExportWaitBox : public QWidget
{
    Q_OBJECT

public:
    explicit ExportWaitBox(QWidget* parent = nullptr);

    void finish();

private:
    QTimer closeTimer_;
};

} // namespace parlix
