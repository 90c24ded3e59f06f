#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

typedef struct pg_conn PGconn;

class QSocketNotifier;

namespace parlix {

// A connection of its own that listens on the channel "parlix", where every
// change to a book's table is announced with the payload "<table>/<schema>".
// It connects without blocking (the socket is watched by the event loop); a
// connection that fails or is lost is made again, later and later up to a few
// seconds apart, so that a desk hears again soon after its server is back.
class PgListener : public QObject
{
    Q_OBJECT

public:
    explicit PgListener(QString conninfo);
    ~PgListener() override;
    PgListener(const PgListener&) = delete;
    PgListener& operator=(const PgListener&) = delete;

    // True once LISTEN has been answered.
    bool listening() const { return phase_ == Phase::Listening; }

signals:
    // One notice: its payload and the server process of the seat that sent it.
    void notified(const QString& payload, int senderPid);
    // Listening from now on. Changes made before (while connecting, or while
    // the connection was lost) were not heard.
    void listeningStarted();
    // The connection failed or was lost (the server's words); it is tried
    // again on its own.
    void connectionFailed(const QString& why);

private:
    enum class Phase { Waiting, Connecting, Subscribing, Listening };

    void connectNow();
    void advanceConnect();
    void onReadable();
    void onWritable();
    void readAnswers();
    void watchSocket(bool read, bool write);
    void lose();

    QString conninfo_;
    PGconn* conn_ = nullptr;
    Phase phase_ = Phase::Waiting;
    int retryDelayMs_;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    QTimer retry_;
    QTimer connectDeadline_;
};

} // namespace parlix
