// Runs one send batch in multiple mode on a data folder, as a separate
// process, so that a crash test can let it die at a fault point:
//   batchchild HOME HOST COUNT PARTS
// COUNT recipients 3330000000, 3330000001, ..., each sent PARTS SMS, to the
// gateway at HOST, recorded in Principale. Every message is answered OK and
// written to standard error. Exits 0 when the batch completed, 1 otherwise.

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "messaging/sendbatch.h"
#include "sending/qwirlgateway.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

class AnsweringDialogs : public parlix::Dialogs
{
public:
    parlix::Answer message(const QString& text, parlix::MessageIcon, parlix::MessageButtons,
                           const QString&) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return parlix::Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&, int) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5)
        return 3;
    parlix::ProgramState state{parlix::DataFolder(args[1])};
    AnsweringDialogs dialogs;
    parlix::Clock clock;

    parlix::BatchRequest request;
    request.multiple = true;
    QStringList parts;
    for (int part = 1; part <= args[4].toInt(); ++part)
        parts << QStringLiteral("Parte %1").arg(part);
    for (int i = 0; i < args[3].toInt(); ++i) {
        request.recipients << QStringLiteral("333%1").arg(i, 7, 10, QChar(u'0'));
        request.recipientParts << parts;
    }
    request.book = QStringLiteral("Principale");
    request.record = {QStringLiteral("<lista>"), request.recipients.join(u';'), parts.join(QString())};

    parlix::SendBatch batch(parlix::AppContext{state, dialogs, clock},
                            parlix::qwirlGatewayFactory(args[2].toStdString()));
    int status = 1;
    QObject::connect(&batch, &parlix::SendBatch::finished, &app, [&](parlix::SendBatch::Outcome outcome) {
        status = outcome == parlix::SendBatch::Outcome::Completed ? 0 : 1;
        QCoreApplication::quit();
    });
    batch.start(request);
    QCoreApplication::exec();
    return status;
}
