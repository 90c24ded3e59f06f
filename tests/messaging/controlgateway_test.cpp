#include "batchsupport.h"
#include "messaging/controlgateway.h"
#include "messaging/sendbatch.h"
#include "sending/qwirlgateway.h"

#include <qwirl-qt/qwirlcontrol.h>
#include <qwirl/control.h>

#include <gtest/gtest.h>

#include <optional>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

// A batch whose gateway is a control widget, as the composer holds it: the batch sets the widget's
// properties and calls its methods from its worker thread.
TEST(ControlGatewayWithSandbox, ABatchDrivesTheControlThroughItsPropertiesAndMethods)
{
    SandboxHome box({"--credit", "10"});
    // The control comes from the factory's gateway, set up on the sandbox's host.
    qwirl::QwirlControl control(box.factory()()->takeControl());
    control.setObjectName(QStringLiteral("QWIRL1"));
    EXPECT_TRUE(control.isHidden());

    BatchRequest request;
    request.multiple = true;
    request.recipients = {QStringLiteral("3331112222"), QStringLiteral("3334445555")};
    request.parts = {QStringLiteral("Ci vediamo già domani")};
    request.flash = true;
    request.sender = QStringLiteral("Studio Bianchi Roma");
    request.book = QStringLiteral("Principale");
    request.record = {QStringLiteral("<lista>"), request.recipients.join(u';'), request.parts[0]};

    std::optional<SendBatch::Outcome> outcome;
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    SendBatch batch(box.home.context(), [&control] { return std::make_unique<ControlGateway>(control); });
    QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
    batch.start(request);
    ASSERT_TRUE(waitUntil([&] { return outcome.has_value(); }));

    EXPECT_EQ(*outcome, SendBatch::Outcome::Completed);
    EXPECT_EQ(box.sentSms(),
              (QStringList{QStringLiteral("+393331112222|FLASH|Studio Bian|Ci vediamo già domani"),
                           QStringLiteral("+393334445555|FLASH|Studio Bian|Ci vediamo già domani")}));
    // What the batch set is in the control's properties, the sender as the gateway cut it.
    EXPECT_EQ(control.property("login"), QVariant(QStringLiteral("demo")));
    EXPECT_EQ(control.property("Flash"), QVariant(true));
    EXPECT_EQ(control.property("Sender"), QVariant(QStringLiteral("Studio Bian")));
    EXPECT_EQ(control.CheckCredits(), 8);
}

TEST(ControlGateway, OnlyTheQwirlGatewayHandsOverAControl)
{
    QwirlGateway gateway(std::string("127.0.0.1:9"));
    std::unique_ptr<qwirl::Control> control = gateway.takeControl();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->hosts().send, "127.0.0.1:9");
    EXPECT_EQ(gateway.takeControl(), nullptr);
    EXPECT_EQ(qwirl::QwirlControl(nullptr).control().hosts().send, qwirl::Hosts::fromEnvironment().send);
}

} // namespace
