#pragma once

#include <QDialog>

namespace qwirl {

// The control's property page "General": the "Info" box with the icon, "QWIRL 1.6" and the maker's web
// address. It shows information only and exchanges no data with the control.
class PropertyPage : public QDialog
{
    Q_OBJECT

public:
    explicit PropertyPage(QWidget* parent = nullptr);

    // The maker's web address shown on the page.
    static QString makerSite();
};

} // namespace qwirl
