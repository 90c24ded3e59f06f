// Sends 1,000 SMS to qwirl-sandbox twice over, alternating, in the same run:
// once with the qwirl control in a bare loop (the baseline) and once as a
// send batch in multiple mode, while a heartbeat timer on the user-interface
// thread records the longest gap between its ticks.

#include "../support/timing.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "messaging/sendbatch.h"
#include "sandbox_process.h"
#include "sending/account.h"
#include "sending/qwirlgateway.h"

#include <qwirl/control.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace parlix;

namespace {

constexpr int Recipients = 1000;
constexpr int Rounds = 9;

// Answers every message with OK and remembers the last one.
class AnsweringDialogs : public Dialogs
{
public:
    Answer message(const QString& text, MessageIcon, MessageButtons, const QString&) override
    {
        last = text;
        return Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&, int) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString last;
};

QStringList numbers()
{
    QStringList list;
    for (int i = 0; i < Recipients; ++i)
        list << QStringLiteral("333%1").arg(i, 7, 10, QChar(u'0'));
    return list;
}

double bareLoopMs(const std::string& host, const QStringList& recipients)
{
    qwirl::Control control(qwirl::Hosts::both(host));
    control.setLogin("demo");
    control.setPassword("demo");
    QElapsedTimer timer;
    timer.start();
    for (const QString& number : recipients) {
        if (control.Send((QStringLiteral("+39") + number).toStdString(),
                         std::string_view("Chiuso per inventario")) != 0)
            std::fprintf(stderr, "bare loop: an SMS was refused\n");
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

struct BatchFigures
{
    double ms = 0;
    double longestStallMs = 0;
};

BatchFigures batchMs(const std::string& host, const QStringList& recipients)
{
    QTemporaryDir dir;
    ProgramState state{DataFolder(dir.path())};
    Installer(state.folder).run();
    Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}.save(state.folder);
    AnsweringDialogs dialogs;
    Clock clock;
    AppContext context{state, dialogs, clock};

    BatchRequest request;
    request.multiple = true;
    request.recipients = recipients;
    request.parts = {QStringLiteral("Chiuso per inventario")};
    request.book = QStringLiteral("Principale");
    request.record = {QStringLiteral("<lista>"), recipients.join(u';'), request.parts.first()};

    SendBatch batch(context, qwirlGatewayFactory(host));
    QEventLoop loop;
    QObject::connect(&batch, &SendBatch::finished, &loop, &QEventLoop::quit);

    QElapsedTimer beat;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longest = std::max(longest, beat.nsecsElapsed());
        beat.restart();
    });

    QElapsedTimer timer;
    timer.start();
    beat.start();
    heartbeat.start();
    batch.start(request);
    loop.exec();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    heartbeat.stop();
    longest = std::max(longest, beat.nsecsElapsed());
    if (dialogs.last != QStringLiteral("Messaggio/i  inviato correttamente"))
        std::fprintf(stderr, "batch ended with: %s\n", qPrintable(dialogs.last));
    // The heartbeat's own period is not a stall.
    return {ms, double(longest) / 1e6 - heartbeat.interval()};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qwirl::testing::SandboxProcess sandbox({"--credit", "100000000"});
    const QStringList recipients = numbers();

    std::vector<double> bare;
    std::vector<double> batch;
    double longestStall = 0;
    for (int round = 0; round < Rounds; ++round) {
        bare.push_back(bareLoopMs(sandbox.host(), recipients));
        const BatchFigures figures = batchMs(sandbox.host(), recipients);
        batch.push_back(figures.ms);
        longestStall = std::max(longestStall, figures.longestStallMs);
        std::printf("round %d: bare loop %.1f ms, batch %.1f ms, longest UI stall %.1f ms\n", round + 1,
                    bare.back(), batch.back(), figures.longestStallMs);
    }
    const double ratio = bench::median(batch) / bench::median(bare);
    std::printf(
        "%d SMS, median of %d rounds: bare loop %.1f ms, batch %.1f ms, ratio %.3f (target <= 1.15)\n",
        Recipients, Rounds, bench::median(bare), bench::median(batch), ratio);
    std::printf("longest UI-thread stall during the batches: %.1f ms (target <= 100)\n", longestStall);
    return ratio <= 1.15 && longestStall <= 100 ? 0 : 1;
}
