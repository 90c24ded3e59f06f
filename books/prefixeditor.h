#pragma once

#include "core/appcontext.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;

namespace parlix {

// "Inserimento Nuovi Prefissi" (Form8): edits the prefix list in memory
// (move up, move down, double click removes) and writes it, with the new
// prefix if one is typed, only on OK.
class PrefixEditor : public QDialog
{
    Q_OBJECT

public:
    explicit PrefixEditor(AppContext context, QWidget* parent = nullptr);

    QListWidget* prefixList() const { return list_; }

    void save();     // Command1
    void moveUp();   // Command2
    void moveDown(); // Command3
    void removeSelected();

private:
    void selectRow(int row);
    QStringList lines() const;

    AppContext context_;
    QLineEdit* newPrefix_;
    QListWidget* list_;
};

} // namespace parlix
