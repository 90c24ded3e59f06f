#pragma once

#include "core/appcontext.h"

#include <QDialog>

class QLineEdit;

namespace parlix {

// "Form7", the SMS header: the sender text of every SMS, at most 11
// characters typed (a longer one stored earlier is shown and kept whole),
// kept in "intestazione". Saving replaces the file and the
// program's `intestazione` at once.
class HeaderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HeaderDialog(AppContext context, QWidget* parent = nullptr);

    QLineEdit* headerEdit() const { return header_; }
    void save();

private:
    AppContext context_;
    QLineEdit* header_;
};

} // namespace parlix
