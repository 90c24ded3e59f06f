#pragma once

#include "core/appcontext.h"

#include <QDialog>

class QLineEdit;

namespace parlix {

// "Form13": the folder of the Ericsoft archives, kept in "persorso" and in
// the program's `percorsoericsoft`.
class EricsoftFolderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit EricsoftFolderDialog(AppContext context, QWidget* parent = nullptr);

    QString shownFolder() const;
    // Asks for a folder; a chosen one replaces "persorso" and the program's
    // value. Cancelling changes nothing.
    void choose();

private:
    AppContext context_;
    QLineEdit* folder_;
};

} // namespace parlix
