#pragma once

#include "contacts/bookcatalog.h"
#include "core/appcontext.h"

#include <QDialog>

#include <optional>

class QListWidget;
class QPushButton;

namespace parlix {

// "Gestione Rubriche" (Form2): lists the address books and creates, deletes
// and renames them. Every way of closing it emits booksChanged(), so the
// main window can rebuild its tree.
class BookManager : public QDialog
{
    Q_OBJECT

public:
    explicit BookManager(AppContext context, QWidget* parent = nullptr);

    QListWidget* bookList() const { return list_; }

    void createBook(); // Command1
    void deleteBook(); // Command3
    void renameBook(); // Command4

signals:
    void booksChanged();
    // Emitted as soon as a book has its new name.
    void bookRenamed(const QString& from, const QString& to);

protected:
    void done(int result) override;

private:
    void load();
    void updateButtons();
    // The text of the selected entry, if one is selected.
    std::optional<QString> selectedName() const;
    void removeEntry(const QString& name);
    void showStoreError(const QString& message);
    // Tells the user why a new name was refused; false when `outcome` is no refusal.
    bool refuseName(BookCatalog::Outcome outcome, const QString& name);

    AppContext context_;
    QListWidget* list_;
    QPushButton* deleteButton_;
    QPushButton* renameButton_;
};

} // namespace parlix
