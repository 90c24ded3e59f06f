#include "pglistener.h"

#include "store/pgconnection.h"

#include <QSocketNotifier>

#include <libpq-fe.h>

#include <algorithm>

namespace parlix {

namespace {

constexpr int firstRetryMs = 1000;
constexpr int lastRetryMs = 4000;
// A server that neither answers nor refuses must not keep the listener waiting.
constexpr int connectLimitMs = 10000;

// The server's farewell to a session it ends is the listener's business, not
// the console's.
void ignoreNotice(void*, const char*) {}

// A notifier may be dropped from its own signal: it goes quiet at once and is
// deleted once the event loop is back (or with the listener, its parent).
void drop(std::unique_ptr<QSocketNotifier>& notifier)
{
    if (!notifier)
        return;
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
}

} // namespace

PgListener::PgListener(QString conninfo) : conninfo_(std::move(conninfo)), retryDelayMs_(firstRetryMs)
{
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &PgListener::connectNow);
    connectDeadline_.setSingleShot(true);
    connectDeadline_.setInterval(connectLimitMs);
    connect(&connectDeadline_, &QTimer::timeout, this, &PgListener::lose);
    connectNow();
}

PgListener::~PgListener()
{
    readable_.reset();
    writable_.reset();
    if (conn_)
        PQfinish(conn_);
}

void PgListener::connectNow()
{
    // An address the store itself refuses is not tried here either; the
    // store says why.
    if (!PgConnection::conninfoProblem(conninfo_).isEmpty())
        return;
    const QByteArray info = conninfo_.toUtf8();
    // Keep-alive probes and a limit on unanswered sends find a silently dead
    // network within a minute (TCP only); they come before the connection
    // string, which may say otherwise.
    const char* keywords[] = {
        "keepalives_idle", "keepalives_interval", "keepalives_count", "tcp_user_timeout",
        "dbname",          "client_encoding",     "application_name", nullptr};
    const char* values[] = {"30", "10", "3", "30000", info.constData(), "UTF8", "parlix", nullptr};
    conn_ = PQconnectStartParams(keywords, values, 1);
    if (!conn_ || PQstatus(conn_) == CONNECTION_BAD) {
        lose();
        return;
    }
    phase_ = Phase::Connecting;
    connectDeadline_.start();
    // A fresh start is polled as if the last answer had been "writing".
    watchSocket(false, true);
}

void PgListener::advanceConnect()
{
    switch (PQconnectPoll(conn_)) {
    case PGRES_POLLING_READING:
        watchSocket(true, false);
        return;
    case PGRES_POLLING_WRITING:
        watchSocket(false, true);
        return;
    case PGRES_POLLING_OK:
        break;
    default:
        lose();
        return;
    }
    connectDeadline_.stop();
    PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
    if (PQsetnonblocking(conn_, 1) != 0 || !PQsendQuery(conn_, "LISTEN parlix")) {
        lose();
        return;
    }
    phase_ = Phase::Subscribing;
    onWritable();
}

void PgListener::onWritable()
{
    if (phase_ == Phase::Connecting) {
        advanceConnect();
        return;
    }
    const int flushed = PQflush(conn_);
    if (flushed < 0) {
        lose();
        return;
    }
    watchSocket(true, flushed == 1);
}

void PgListener::onReadable()
{
    if (phase_ == Phase::Connecting)
        advanceConnect();
    else
        readAnswers();
}

void PgListener::readAnswers()
{
    if (!PQconsumeInput(conn_)) {
        lose();
        return;
    }
    while (!PQisBusy(conn_)) {
        PGresult* result = PQgetResult(conn_);
        if (!result)
            break;
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        if (!ok) {
            lose();
            return;
        }
        if (phase_ == Phase::Subscribing) {
            phase_ = Phase::Listening;
            retryDelayMs_ = firstRetryMs;
            emit listeningStarted();
        }
    }
    while (PGnotify* notice = PQnotifies(conn_)) {
        const QString payload = QString::fromUtf8(notice->extra);
        const int sender = notice->be_pid;
        PQfreemem(notice);
        emit notified(payload, sender);
    }
    if (PQstatus(conn_) == CONNECTION_BAD)
        lose();
}

void PgListener::watchSocket(bool read, bool write)
{
    const int socket = PQsocket(conn_);
    if (socket < 0) {
        lose();
        return;
    }
    const auto need = [&](std::unique_ptr<QSocketNotifier>& notifier, QSocketNotifier::Type type, bool on,
                          void (PgListener::*handler)()) {
        if (notifier && (!on || notifier->socket() != socket))
            drop(notifier);
        if (on && !notifier) {
            notifier = std::make_unique<QSocketNotifier>(socket, type, this);
            connect(notifier.get(), &QSocketNotifier::activated, this, handler);
        }
    };
    need(readable_, QSocketNotifier::Read, read, &PgListener::onReadable);
    need(writable_, QSocketNotifier::Write, write, &PgListener::onWritable);
}

void PgListener::lose()
{
    drop(readable_);
    drop(writable_);
    const bool timedOut = !connectDeadline_.isActive() && phase_ == Phase::Connecting;
    connectDeadline_.stop();
    QString why = conn_ ? QString::fromUtf8(PQerrorMessage(conn_)).trimmed() : QString();
    if (timedOut || why.isEmpty())
        why = QStringLiteral("il server non risponde");
    if (conn_) {
        PQfinish(conn_);
        conn_ = nullptr;
    }
    phase_ = Phase::Waiting;
    retry_.start(retryDelayMs_);
    retryDelayMs_ = std::min(retryDelayMs_ * 2, lastRetryMs);
    emit connectionFailed(why);
}

} // namespace parlix
