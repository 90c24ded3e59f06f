#include "scheduleddispatcher.h"

#include "contacts/bookcontacts.h"
#include "core/clock.h"
#include "core/ownthread.h"
#include "core/storechoice.h"
#include "sending/account.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix {

ScheduledDispatcher::ScheduledDispatcher(DataFolder folder, GatewayFactory factory, const Clock& clock,
                                         QObject* parent)
    : QObject(parent), folder_(std::move(folder)), factory_(std::move(factory)), clock_(clock),
      stop_(std::make_shared<std::atomic<bool>>(false)), held_(std::make_shared<Held>())
{
    connect(&timer_, &QTimer::timeout, this, &ScheduledDispatcher::runDue);
}

ScheduledDispatcher::~ScheduledDispatcher()
{
    stop_->store(true);
    round_.waitForFinished();
}

void ScheduledDispatcher::start(int interval)
{
    timer_.start(interval);
    runDue();
}

void ScheduledDispatcher::runDue()
{
    if (busy_)
        return;
    busy_ = true;
    round_ = runOnOwnThread<int>([this, folder = folder_, factory = factory_, stop = stop_, held = held_] {
        ScheduledRunner runner(folder, factory, clock_);
        runner.setStopFlag(stop.get());
        int batches = 0;
        try {
            // A store of this thread's own: the window's connection is not for other threads.
            const std::shared_ptr<Store> store = chooseStore(folder);
            // Only this seat's account's batches: another account's wait for their own runner.
            const QString login = Account::load(folder).login;
            for (const QString& book : bookNames(*store, folder.bookList())) {
                QList<qint64> due;
                try {
                    due = ScheduledStore(*store, folder.bookPath(book)).due(clock_.now(), login);
                } catch (const StoreError&) {
                    continue; // a book that cannot be read has nothing to send
                }
                for (const qint64 id : due) {
                    if (stop->load())
                        return batches;
                    if (held->contains(book, id))
                        continue;
                    const RunOutcome outcome = runner.run(book, id);
                    ++batches;
                    QMetaObject::invokeMethod(
                        this, [this, book, outcome] { emit batchFinished(book, outcome); },
                        Qt::QueuedConnection);
                }
            }
        } catch (const StoreError&) {
        }
        QMetaObject::invokeMethod(
            this,
            [this] {
                busy_ = false;
                emit roundFinished();
            },
            Qt::QueuedConnection);
        return batches;
    });
}

} // namespace parlix

namespace parlix {

void ScheduledDispatcher::hold(const QString& book, qint64 id)
{
    const std::lock_guard lock(held_->mutex);
    held_->batches.insert({book, id});
}

void ScheduledDispatcher::release(const QString& book, qint64 id)
{
    const std::lock_guard lock(held_->mutex);
    held_->batches.erase({book, id});
}

bool ScheduledDispatcher::Held::contains(const QString& book, qint64 id)
{
    const std::lock_guard lock(mutex);
    return batches.count({book, id}) > 0;
}

} // namespace parlix
