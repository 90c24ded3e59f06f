#pragma once

#include <QWidget>

namespace parlix {

// "Form12", shown while archives are imported; the import closes it.
class ImportWaitBox : public QWidget
{
    Q_OBJECT

public:
    explicit ImportWaitBox(QWidget* parent = nullptr);
};

} // namespace parlix
