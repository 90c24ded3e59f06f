#include "application.h"

#include "app/appicon.h"
#include "app/commandline.h"
#include "app/disclaimer.h"
#include "app/disclaimerdialog.h"
#include "app/formlauncher.h"
#include "app/mainwindow.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/dialogs.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "core/storechoice.h"
#include "messaging/proxycredentialsdialog.h"
#include "sending/account.h"
#include "sending/keychainstore.h"
#include "sending/qwirlgateway.h"
#include "ui/qtdialogs.h"
#include "ui/qttranslation.h"
#include "ui/screenfit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

namespace parlix {

namespace {

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

bool install(const DataFolder& folder)
{
    const QStringList failed = Installer(folder).run();
    if (failed.isEmpty())
        return true;
    QTextStream(stderr) << "parlix: impossibile creare nella cartella dati " << folder.root() << ": "
                        << failed.join(QStringLiteral(", ")) << '\n';
    return false;
}

} // namespace

int runApplication(int argc, char** argv)
{
    const QStringList arguments = argumentList(argc, argv);
    QString refusal;
    switch (commandline::request(arguments, &refusal)) {
    case commandline::Request::Refused:
        QTextStream(stderr) << "parlix: " << refusal << '\n'
                            << commandline::helpText().section(u'\n', 0, 1) << '\n'
                            << "\"parlix --help\" spiega le opzioni.\n";
        return 1;
    case commandline::Request::Version:
        QTextStream(stdout) << commandline::versionText();
        return 0;
    case commandline::Request::Help:
        QTextStream(stdout) << commandline::helpText();
        return 0;
    case commandline::Request::Run:
        break;
    }
    const QString home = commandline::homeArgument(arguments);
    const DataFolder folder(
        DataFolder::defaultRoot(home.isNull() ? QStringList{} : QStringList{QStringLiteral("--home"), home}));
    // An "archivio" that cannot be read stops the program: working on the
    // folder's own files instead would split the data without a word.
    const std::optional<QString> storeProblem = storeChoiceProblem(folder);
    if (storeProblem)
        QTextStream(stderr) << "parlix: " << *storeProblem << '\n';

    if (arguments.contains(QStringLiteral("--init"))) {
        QCoreApplication core(argc, argv);
        if (storeProblem)
            return 2;
        return install(folder) ? 0 : 1;
    }

    QApplication app(argc, argv);
    if (storeProblem) {
        QtDialogs storeDialogs;
        static_cast<Dialogs&>(storeDialogs).message(*storeProblem, MessageIcon::Critical);
        return 2;
    }
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("Parlix"));
    QApplication::setApplicationVersion(QStringLiteral(PARLIX_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(appId));
    QApplication::setWindowIcon(appIcon());
    QtTranslation::install(app);
    // Every window opens within the screen, however small.
    ScreenFit screenFit;
    app.installEventFilter(&screenFit);
    install(folder);

    // The disclaimer comes first when it is switched on; refusing it ends the
    // program before anything else is read.
    if (disclaimer::shouldShow(folder)) {
        // Closing the disclaimer must not count as closing the last window.
        QApplication::setQuitOnLastWindowClosed(false);
        QtDialogs disclaimerDialogs;
        DisclaimerDialog disclaimerDialog(folder, disclaimerDialogs);
        if (disclaimerDialog.exec() != QDialog::Accepted)
            return 0;
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // The gateway password goes to the desktop's keyring when one answers.
    // Reading the account here, on the window thread, moves a password still
    // kept in the account file and keeps it at hand for the credit query's
    // own thread.
    KeychainStore keychain;
    Account::setSecretStore(&keychain);
    Account::load(folder);

    ProgramState state(folder);
    QtDialogs dialogs;
    Clock clock;
    MainWindow window(AppContext{state, dialogs, clock});
    FormLauncher forms(window, AppContext{state, dialogs, clock}, qwirlGatewayFactory(askProxyLogin));
    forms.install();
    window.load();
    window.show();
    // A malformed gateway host is said at once, not at the first failed send.
    if (const QString problem = gatewayHostProblem(); !problem.isEmpty())
        static_cast<Dialogs&>(dialogs).message(problem, MessageIcon::Critical);
    // A batch cut short last time (the program was killed) is told now.
    forms.offerInterruptedBatches();
    // A batch kept for later whose time went by long ago is not sent without asking.
    forms.offerOverdueBatches();
    return app.exec();
}

} // namespace parlix
