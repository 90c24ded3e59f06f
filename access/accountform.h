#pragma once

#include "core/appcontext.h"
#include "users/useraccounts.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace parlix {

struct LoginSession;

// "Configurazione Account": lists the local users in file order and adds,
// changes and deletes them. The list mirrors the account file, which is read
// again after every save and delete, with the first entry selected.
class AccountForm : public QDialog
{
    Q_OBJECT
public:
    AccountForm(AppContext context, const LoginSession& session, QWidget* parent = nullptr);

    // Reads the account file into the list and selects its first entry.
    void caricaaccount();
    // "nuovo", "modifica", "cancella" or empty.
    const QString& modalita() const { return modalita_; }

private:
    void selectEntry(int position); // a click in List1
    void startNew();                // "Nuovo Utente"
    void startChange();             // "Modifica Utente"
    void deleteSelected();          // "Cancella Utente"
    void saveEdit();                // "OK"
    void enableOkForTexts();
    void enableOkForTypedLevel();
    void showLevel(const QString& code);
    void refuse(const QString& text);

    AppContext context_;
    const LoginSession& session_;
    UserAccounts accounts_;
    QString modalita_;
    bool damageReported_ = false;

    QLineEdit* selectedName_ = nullptr;   // Text1
    QLabel* selectedLevel_ = nullptr;     // Label3
    QListWidget* list_ = nullptr;         // List1
    QPushButton* newButton_ = nullptr;    // Command1
    QPushButton* changeButton_ = nullptr; // Command4
    QPushButton* deleteButton_ = nullptr; // Command3
    QGroupBox* editArea_ = nullptr;       // Frame2
    QLineEdit* nameEdit_ = nullptr;       // Text2
    QLineEdit* passwordEdit_ = nullptr;   // Text3
    QComboBox* levelBox_ = nullptr;       // Combo1
    QPushButton* okButton_ = nullptr;     // Command5
    QPushButton* closeButton_ = nullptr;  // Command2
};

} // namespace parlix
