#include "pgwatch.h"

#include "store/pglistener.h"

namespace parlix {

namespace {

// Changes are told once the notices have paused this long, and at the latest
// this long after the first one, so that a seat importing row by row does not
// keep the watcher reading without end, nor waiting without end.
constexpr int quietMs = 150;
constexpr qint64 latestMs = 750;

} // namespace

PgWatch::PgWatch(std::shared_ptr<PgListener> listener, QString payload, std::function<int()> ownPid)
    : listener_(std::move(listener)), payload_(std::move(payload)), ownPid_(std::move(ownPid))
{
    quiet_.setSingleShot(true);
    connect(&quiet_, &QTimer::timeout, this, &ArchiveWatch::changed);
    connect(listener_.get(), &PgListener::notified, this, &PgWatch::onNotified);
    // Notices sent before the listener was there are lost: whatever was
    // read before may be out of date.
    connect(listener_.get(), &PgListener::listeningStarted, this, &PgWatch::arm);
}

PgWatch::~PgWatch() = default;

void PgWatch::onNotified(const QString& payload, int senderPid)
{
    if (payload != payload_)
        return;
    if (const int own = ownPid_ ? ownPid_() : 0; own != 0 && own == senderPid)
        return;
    arm();
}

void PgWatch::arm()
{
    if (!quiet_.isActive())
        pendingSince_.start();
    if (pendingSince_.elapsed() <= latestMs - quietMs)
        quiet_.start(quietMs);
}

} // namespace parlix
