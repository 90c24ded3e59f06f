#pragma once

#include <QDialog>

namespace parlix {

// "Form11", the about box.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace parlix
