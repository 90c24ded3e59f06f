#pragma once

#include "contacts/archiverow.h"
#include "core/appcontext.h"
#include "ui/urlopener.h"

#include <QFrame>

#include <array>
#include <functional>

class QLabel;

namespace parlix {

class ArchiveList;

// What the panel hands over to other forms. A command whose hook is missing
// stays greyed and does nothing.
struct PanelHooks
{
    // Opens the composer on the selected contact (empty values when no row is selected).
    std::function<void(const RowSelection&)> sendSingleSms;
    // Opens the contact editor on the selected contact.
    std::function<void(const RowSelection&)> editContact;
    UrlOpener openUrl;
    // Puts the numbers of the ticked contacts (else the selected one) into the opt-out register.
    std::function<void(const QStringList& numbers)> excludeFromSending = {};
};

// The contact actions panel "Form1": a small pop-up over the archive list
// with four commands and "Escludi dagli invii". It behaves like a menu: the command under the pointer
// is highlighted, and the panel closes once a command has run or when it
// loses the focus. Three commands need the list to show contacts; deleting
// the ticked rows works on every archive.
class ActionsPanel : public QFrame
{
    Q_OBJECT

public:
    ActionsPanel(AppContext context, ArchiveList& list, PanelHooks hooks, QWidget* parent = nullptr);

    // Deletes the ticked rows of the list after asking; the list reloads once.
    // Also run by the main window's "Cancella Spuntati" without the panel.
    // True when the user answered Yes.
    static bool deleteTicked(AppContext context, ArchiveList& list);

    // Places the panel's corner at the pointer (a position on the screen),
    // moved as little as needed to show all of it on that screen.
    void placeAt(const QPoint& globalPosition);

    // The four commands (clicks on Label1..Label4).
    void modificaContatto();
    void inviaSmsSingolo();
    void inviaEmail();
    void cancellaSpuntati();
    // "Escludi dagli invii".
    void excludeFromSending();

    // The highlighting for the pointer over one of the command labels.
    void hover(QLabel* label);

    QLabel* command(int number) const; // 1..4: Label1..Label4; 5: "Escludi dagli invii"

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool contactsShown() const;
    // The list's selected row, or empty values.
    RowSelection selectedRow() const;
    bool available(const QLabel* label) const;
    void paintNormal(QLabel* label);
    void finish();

    AppContext context_;
    ArchiveList& list_;
    PanelHooks hooks_;
    QLabel* edit_;   // Label1
    QLabel* send_;   // Label2
    QLabel* email_;  // Label3
    QLabel* remove_; // Label4
    QLabel* exclude_;
    bool busy_ = false;
};

} // namespace parlix
