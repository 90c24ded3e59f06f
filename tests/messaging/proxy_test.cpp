#include "batchsupport.h"
#include "json_fields.h"
#include "messaging/proxycredentialsdialog.h"
#include "messaging/sendbatch.h"
#include "sending/creditquery.h"
#include "sending/proxyauthenticator.h"
#include "sending/qwirlgateway.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <optional>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

// The sandbox stands as the proxy; the gateway host cannot be resolved, so
// only a request through the proxy reaches anything.
const std::string unreachableGateway = "gateway.invalid";
const std::vector<std::string> authenticatingProxy{"--proxy-auth", "anna:segreta"};
const ProxyLogin rightLogin{QStringLiteral("anna"), QStringLiteral("segreta")};
const ProxyLogin wrongLogin{QStringLiteral("anna"), QStringLiteral("sbagliata")};
const QString rightAuthorization = QStringLiteral("Basic YW5uYTpzZWdyZXRh");     // anna:segreta
const QString wrongAuthorization = QStringLiteral("Basic YW5uYTpzYmFnbGlhdGE="); // anna:sbagliata

// Points libcurl's environment proxy at `host` for the life of the object.
class EnvironmentProxy
{
public:
    explicit EnvironmentProxy(const std::string& host)
    {
        for (const char* name : names) {
            if (qEnvironmentVariableIsSet(name))
                saved_.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        qputenv("http_proxy", QByteArray::fromStdString("http://" + host));
    }
    ~EnvironmentProxy()
    {
        for (const char* name : names)
            qunsetenv(name);
        for (const auto& [name, value] : saved_)
            qputenv(name, value);
    }
    EnvironmentProxy(const EnvironmentProxy&) = delete;
    EnvironmentProxy& operator=(const EnvironmentProxy&) = delete;

private:
    static constexpr const char* names[] = {"http_proxy", "no_proxy", "NO_PROXY"};
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

// A prompt that gives its answers in turn (nothing once they run out) and
// notes the user name it offered and whether it ran on the GUI thread.
class ScriptedPrompt
{
public:
    explicit ScriptedPrompt(std::deque<std::optional<ProxyLogin>> answers) : answers_(std::move(answers)) {}

    ProxyPrompt prompt()
    {
        return [this](const QString& userName) {
            offered << userName;
            onGuiThread.push_back(QThread::currentThread() == qApp->thread());
            if (answers_.empty())
                return std::optional<ProxyLogin>();
            std::optional<ProxyLogin> answer = answers_.front();
            answers_.pop_front();
            return answer;
        };
    }

    QStringList offered;
    std::vector<bool> onGuiThread;

private:
    std::deque<std::optional<ProxyLogin>> answers_;
};

std::unique_ptr<SmsGateway> signedIn(const GatewayFactory& factory)
{
    std::unique_ptr<SmsGateway> gateway = factory();
    gateway->setLogin(QStringLiteral("demo"));
    gateway->setPassword(QStringLiteral("demo"));
    return gateway;
}

// The Proxy-Authorization of every request the sandbox received, empty when
// none was sent.
QStringList proxyAuthorizations(const SandboxHome& box)
{
    QStringList authorizations;
    for (const std::string& line : box.sandbox.traceLines()) {
        auto fields = qwirl::testing::parseJsonLine(line).value_or(std::map<std::string, std::string>{});
        authorizations << QString::fromStdString(fields["proxy_authorization"]);
    }
    return authorizations;
}

TEST(QwirlGatewayBehindAProxy, RightCredentialsFromThePromptLetTheSmsThrough)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    ScriptedPrompt prompt({rightLogin});
    const auto gateway = signedIn(qwirlGatewayFactory(unreachableGateway, prompt.prompt()));

    EXPECT_EQ(gateway->send(QStringLiteral("+393331112222"), QStringLiteral("Ciao")), 0);
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Ciao")});
    EXPECT_EQ(proxyAuthorizations(box), (QStringList{QString(), rightAuthorization}));
    EXPECT_EQ(prompt.offered, QStringList{QString()});
}

TEST(QwirlGatewayBehindAProxy, CancelledPromptFailsAsCancelledAndAsksOncePerGateway)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    ScriptedPrompt prompt({std::nullopt, std::nullopt});
    const GatewayFactory factory = qwirlGatewayFactory(unreachableGateway, prompt.prompt());
    const auto gateway = signedIn(factory);

    EXPECT_EQ(gateway->send(QStringLiteral("+393331112222"), QStringLiteral("Ciao")), 9);
    EXPECT_EQ(gateway->send(QStringLiteral("+393334445555"), QStringLiteral("Ciao")), 9);
    EXPECT_EQ(gateway->checkCredits(), -1);
    EXPECT_EQ(prompt.offered.size(), 1);
    // The next batch or credit query asks again.
    EXPECT_EQ(signedIn(factory)->checkCredits(), -1);
    EXPECT_EQ(prompt.offered.size(), 2);
    EXPECT_EQ(box.sentSms(), QStringList());
    EXPECT_EQ(proxyAuthorizations(box), QStringList(4, QString()));
}

TEST(QwirlGatewayBehindAProxy, WithoutAPromptTheProxyDemandCountsAsCancelled)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    const auto gateway = signedIn(qwirlGatewayFactory(unreachableGateway));

    EXPECT_EQ(gateway->send(QStringLiteral("+393331112222"), QStringLiteral("Ciao")), 9);
    EXPECT_EQ(box.sentSms(), QStringList());
}

TEST(QwirlGatewayBehindAProxy, GivenCredentialsServeLaterExchangesOfTheFactoryWithoutAsking)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    ScriptedPrompt prompt({rightLogin});
    const GatewayFactory factory = qwirlGatewayFactory(unreachableGateway, prompt.prompt());
    const auto gateway = signedIn(factory);

    EXPECT_EQ(gateway->send(QStringLiteral("+393331112222"), QStringLiteral("uno")), 0);
    EXPECT_EQ(gateway->send(QStringLiteral("+393334445555"), QStringLiteral("due")), 0);
    EXPECT_EQ(signedIn(factory)->checkCredits(), 98);
    EXPECT_EQ(prompt.offered.size(), 1);
    // Each new exchange first meets the proxy without credentials, then sends
    // the kept ones at once.
    EXPECT_EQ(proxyAuthorizations(box), (QStringList{QString(), rightAuthorization, QString(),
                                                     rightAuthorization, QString(), rightAuthorization}));
}

TEST(QwirlGatewayBehindAProxy, RefusedCredentialsAreAskedAgainOfferingTheUserName)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    ScriptedPrompt prompt({wrongLogin, rightLogin});
    const GatewayFactory factory = qwirlGatewayFactory(unreachableGateway, prompt.prompt());

    EXPECT_EQ(signedIn(factory)->checkCredits(), 100);
    EXPECT_EQ(prompt.offered, (QStringList{QString(), QStringLiteral("anna")}));
    EXPECT_EQ(proxyAuthorizations(box), (QStringList{QString(), wrongAuthorization, rightAuthorization}));
}

TEST(QwirlGatewayBehindAProxy, ProxyAddressSetOnTheGatewayIsUsedInsteadOfTheEnvironment)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy("127.0.0.1:1");
    ScriptedPrompt prompt({rightLogin});
    QwirlGateway gateway(unreachableGateway);
    gateway.setProxyAddress(QString::fromStdString(box.sandbox.host()));
    gateway.setProxyAuthenticator(std::make_shared<ProxyAuthenticator>(prompt.prompt()));
    gateway.setLogin(QStringLiteral("demo"));
    gateway.setPassword(QStringLiteral("demo"));

    EXPECT_EQ(gateway.send(QStringLiteral("+393331112222"), QStringLiteral("Ciao")), 0);
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Ciao")});
    EXPECT_EQ(prompt.offered.size(), 1);
}

TEST(QwirlGatewayBehindAProxy, BatchOnItsWorkerThreadAsksOnceOnTheGuiThread)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    ScriptedPrompt prompt({rightLogin});
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    BatchRequest request;
    request.multiple = true;
    request.recipients = {QStringLiteral("3331112222"), QStringLiteral("3334445555")};
    request.parts = {QStringLiteral("Riunione alle 10")};
    request.book = QStringLiteral("Principale");
    request.record = {QStringLiteral("<lista>"), request.recipients.join(u';'), request.parts.first()};

    std::optional<SendBatch::Outcome> outcome;
    SendBatch batch(box.home.context(), qwirlGatewayFactory(unreachableGateway, prompt.prompt()));
    QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
    batch.start(request);
    ASSERT_TRUE(waitUntil([&] { return outcome.has_value(); }));

    EXPECT_EQ(outcome, SendBatch::Outcome::Completed);
    EXPECT_EQ(prompt.onGuiThread, std::vector<bool>{true});
    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT||Riunione alle 10"),
                                          QStringLiteral("+393334445555|TEXT||Riunione alle 10")}));
    EXPECT_EQ(box.residui(), QStringLiteral("98\r\n"));
}

TEST(ProxyAuthenticator, AsksDirectlyOnTheGuiThreadAndThroughItFromAnother)
{
    ScriptedPrompt prompt({rightLogin, wrongLogin});
    EXPECT_EQ(ProxyAuthenticator::askOnGuiThread(prompt.prompt(), QStringLiteral("anna")), rightLogin);

    std::optional<ProxyLogin> fromWorker;
    QThread* worker = QThread::create(
        [&] { fromWorker = ProxyAuthenticator::askOnGuiThread(prompt.prompt(), QStringLiteral("bruno")); });
    worker->start();
    EXPECT_TRUE(waitUntil([&] { return worker->isFinished(); }));
    worker->wait();
    delete worker;

    EXPECT_EQ(fromWorker, wrongLogin);
    EXPECT_EQ(prompt.offered, (QStringList{QStringLiteral("anna"), QStringLiteral("bruno")}));
    EXPECT_EQ(prompt.onGuiThread, (std::vector<bool>{true, true}));
}

// Answers the proxy dialog when it comes up: `fill` types into it, then OK or
// Annulla is clicked.
void answerProxyDialog(const ProxyLogin& fill, bool ok)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fill, ok] {
        auto* dialog = qobject_cast<ProxyCredentialsDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QStringLiteral("ProxyCredentials"))
            return;
        timer->stop();
        timer->deleteLater();
        dialog->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(fill.userName);
        dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(fill.password);
        if (ok)
            dialog->accept();
        else
            dialog->reject();
    });
    timer->start();
}

TEST(ProxyCredentialsDialog, TypedCredentialsLetTheCreditQueryOnItsOwnThreadThrough)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    answerProxyDialog(rightLogin, true);
    QFuture<CreditAnswer> credit =
        queryCreditAsync(box.home.state.folder, qwirlGatewayFactory(unreachableGateway, askProxyLogin));

    ASSERT_TRUE(waitUntil([&] { return credit.isFinished(); }));
    EXPECT_EQ(credit.result().credit, QStringLiteral("100"));
    EXPECT_EQ(proxyAuthorizations(box), (QStringList{QString(), rightAuthorization}));
}

TEST(ProxyCredentialsDialog, AnnullaFailsTheCreditQuery)
{
    SandboxHome box(authenticatingProxy);
    const EnvironmentProxy proxy(box.sandbox.host());
    answerProxyDialog(rightLogin, false);
    QFuture<CreditAnswer> credit =
        queryCreditAsync(box.home.state.folder, qwirlGatewayFactory(unreachableGateway, askProxyLogin));

    ASSERT_TRUE(waitUntil([&] { return credit.isFinished(); }));
    EXPECT_EQ(credit.result().credit, QString());
    EXPECT_EQ(credit.result().failure, CreditFailure::Unreachable);
    EXPECT_EQ(proxyAuthorizations(box), QStringList{QString()});
}

TEST(ProxyCredentialsDialog, OffersTheUserNameHidesThePasswordAndNeedsAUserName)
{
    parlix::ProxyCredentialsDialog dialog(QStringLiteral("anna"));
    auto* userName = dialog.findChild<QLineEdit*>(QStringLiteral("userName"));
    auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("password"));
    QPushButton* ok = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text().remove(u'&') == QStringLiteral("OK"))
            ok = button;
    ASSERT_NE(ok, nullptr);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Autenticazione proxy"));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(ok->isEnabled());
    userName->clear();
    EXPECT_FALSE(ok->isEnabled());
    userName->setText(QStringLiteral("bruno"));
    password->setText(QStringLiteral("è segreta"));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.login(), (ProxyLogin{QStringLiteral("bruno"), QStringLiteral("è segreta")}));
}

} // namespace
