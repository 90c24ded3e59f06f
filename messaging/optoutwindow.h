#pragma once

#include "core/appcontext.h"
#include "sending/optoutregister.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace parlix {

// "Numeri esclusi": the opt-out register of the data folder. Numbers are
// added with a note, searched, taken off (after a confirmation; the removal
// keeps its date) and imported from a CSV file or a plain list; the opt-out
// line of campaigns is set here too. The register itself does the work.
class OptOutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit OptOutWindow(AppContext context, QWidget* parent = nullptr);

    // Reads the register again, with the search and the choice of removed numbers.
    void reload();
    int rowCount() const;

    void addTyped();
    void removeSelected();
    void importFile();
    void saveLine();

private:
    // Runs `work` on the register, showing a store failure to the user.
    template <typename Work> void withRegister(Work work);

    AppContext context_;
    QLineEdit* searchEdit_ = nullptr;
    QCheckBox* showRemoved_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLineEdit* numberEdit_ = nullptr;
    QLineEdit* noteEdit_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QLineEdit* lineEdit_ = nullptr;
    QStringList numbers_; // the E.164 number of each row shown
};

// "Escludi dagli invii": puts `numbers` (the ticked or highlighted contacts
// of `book`) into the register and says how it went.
void excludeFromSending(AppContext context, const QString& book, const QStringList& numbers);

} // namespace parlix
