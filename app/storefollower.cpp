#include "storefollower.h"

#include "core/archivetree.h"
#include "core/programstate.h"
#include "store/archivewatch.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/storelink.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace parlix {

namespace {

// A change heard while a box or form is open waits this long and is tried again.
constexpr int retryMs = 300;
// "Back again" stays this long in the status bar.
constexpr int fadeMs = 8000;

} // namespace

StoreFollower::StoreFollower(const ProgramState& state, QMainWindow& window) : state_(state), window_(window)
{
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    connect(&retry_, &QTimer::timeout, this, &StoreFollower::readBooks);
    fade_.setSingleShot(true);
    fade_.setInterval(fadeMs);
    connect(&fade_, &QTimer::timeout, this, [this] { say({}); });
}

StoreFollower::~StoreFollower() = default;

void StoreFollower::start()
{
    if (!state_.store)
        return;
    // Connections are made and lost in the middle of a statement: the window
    // hears of it once that statement is over.
    if (StoreLink* link = state_.store->link()) {
        connect(link, &StoreLink::lost, this, &StoreFollower::onLost, Qt::QueuedConnection);
        connect(link, &StoreLink::restored, this, &StoreFollower::onRestored, Qt::QueuedConnection);
    }
    watchBooks();
}

void StoreFollower::watchBooks()
{
    try {
        watch_ = state_.store->watch(state_.folder.bookList(), QStringLiteral("elenco"));
        connect(watch_.get(), &ArchiveWatch::changed, this, &StoreFollower::readBooks);
    } catch (const StoreError&) {
        // Out of reach now: the link says so, and the watch comes with the next start.
    }
}

void StoreFollower::readBooks()
{
    // Not under a box or form: the user is answering about the tree as shown.
    if (QApplication::activeModalWidget()) {
        retry_.start();
        return;
    }
    // A list that cannot be read now is not a list without books.
    const auto books = tryReadBookNames(state_);
    if (!books || *books == books_)
        return;
    books_ = *books;
    emit booksChanged(books_);
}

void StoreFollower::onLost(const QString& why)
{
    // Nothing stays of an earlier note: the outage is what matters now.
    fade_.stop();
    say(QStringLiteral("Archivio condiviso non raggiungibile: nuovo tentativo di collegamento in corso. "
                       "Elenchi e rubriche mostrano i dati dell'ultima lettura."));
    note_->setToolTip(why);
}

void StoreFollower::onRestored()
{
    say(QStringLiteral("Collegamento con l'archivio condiviso ristabilito."));
    fade_.start();
    // The start may have found the store out of reach.
    if (!watch_)
        watchBooks();
    readBooks();
    emit storeBack();
}

void StoreFollower::say(const QString& text)
{
    if (!note_) {
        if (text.isEmpty())
            return;
        note_ = new QLabel(&window_);
        note_->setObjectName(QStringLiteral("statoArchivio"));
        window_.statusBar()->addWidget(note_, 1);
    }
    fade_.stop();
    note_->setText(text);
    note_->setToolTip({});
    note_->setAccessibleName(text);
}

QString StoreFollower::note() const
{
    return note_ ? note_->text() : QString();
}

} // namespace parlix
