#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

class QLabel;
class QMainWindow;

namespace parlix {

class ArchiveWatch;
struct ProgramState;

// Keeps a window in step with the other seats of a shared store: it hears
// when another seat changes the book list, says in the status bar while the
// store cannot be reached, and asks for everything to be read again once it is
// back. On the files of the data folder it stays silent: no seat announces its
// changes there, so the tree follows only the seat's own changes.
class StoreFollower : public QObject
{
    Q_OBJECT

public:
    StoreFollower(const ProgramState& state, QMainWindow& window);
    ~StoreFollower() override;

    // Starts following the store; the tree shows the names last set.
    void start();
    // The names the tree shows from now on (after any rebuild).
    void setBooks(const QStringList& books) { books_ = books; }
    // Says `text` in the status bar until something else is said.
    void say(const QString& text);
    // What the status bar says (empty: nothing).
    QString note() const;

signals:
    // Another seat changed the book list: the names as they are now.
    void booksChanged(const QStringList& books);
    // The store is reachable again after an outage: whatever the window
    // shows may be out of date.
    void storeBack();

private:
    void watchBooks();
    void readBooks();
    void onLost(const QString& why);
    void onRestored();

    const ProgramState& state_;
    QMainWindow& window_;
    QStringList books_;
    std::unique_ptr<ArchiveWatch> watch_;
    QTimer retry_;
    QTimer fade_;
    QLabel* note_ = nullptr;
};

} // namespace parlix
