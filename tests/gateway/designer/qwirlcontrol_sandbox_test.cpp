#include "json_fields.h"
#include "sandbox_process.h"

#include "qwirl-qt/qwirlcontrol.h"
#include "qwirl/control.h"
#include "qwirl/hosts.h"

#include <gtest/gtest.h>

namespace {

using qwirl::QwirlControl;
using qwirl::testing::parseJsonLine;
using qwirl::testing::SandboxProcess;

long call(QwirlControl& control, const char* method, const QString& number, const QString& text)
{
    long result = -99;
    EXPECT_TRUE(QMetaObject::invokeMethod(&control, method, Qt::DirectConnection, Q_RETURN_ARG(long, result),
                                          Q_ARG(QString, number), Q_ARG(QString, text)));
    return result;
}

TEST(QwirlControlWidget, AFreshControlHasTheDefaults)
{
    const QwirlControl control;
    EXPECT_EQ(control.property("Quality"), QVariant::fromValue<short>(2));
    EXPECT_EQ(control.property("Flash"), QVariant(false));
    for (const char* name : {"password", "login", "Sender", "ProxyAddress", "ProxyLogin", "ProxyPassword"}) {
        EXPECT_EQ(control.property(name), QVariant(QString())) << name;
    }
}

TEST(QwirlControlWidget, SendsThroughItsPropertiesAndMethods)
{
    const SandboxProcess sandbox({"--credit", "10"});
    // Set up on a port where nothing listens, then given a library object on the sandbox.
    QwirlControl control(qwirl::Hosts::both("127.0.0.1:9"));
    control.setControl(std::make_unique<qwirl::Control>(qwirl::Hosts::both(sandbox.host())));
    control.setProperty("login", QStringLiteral("demo"));
    control.setProperty("password", QStringLiteral("demo"));
    control.setProperty("Flash", true);
    control.setProperty("Quality", QVariant::fromValue<short>(1));
    control.setProperty("Sender", QStringLiteral("Studio Bianchi"));

    EXPECT_EQ(call(control, "Send", QStringLiteral("+393331234567"), QString()), 4); // absent text
    EXPECT_EQ(control.Sender(), QStringLiteral("Studio Bianchi"));
    EXPECT_EQ(call(control, "Send", QStringLiteral("+393331234567"), QStringLiteral("Già fatto")), 0);
    EXPECT_EQ(control.Sender(), QStringLiteral("Studio Bian"));
    long credit = -99;
    EXPECT_TRUE(QMetaObject::invokeMethod(&control, "CheckCredits", Q_RETURN_ARG(long, credit)));
    EXPECT_EQ(credit, 9);

    ASSERT_EQ(sandbox.logLines().size(), 1U);
    const auto logged = parseJsonLine(sandbox.logLines()[0]).value();
    EXPECT_EQ(logged.at("text"), "Già fatto");
    EXPECT_EQ(logged.at("type"), "FLASH");
    EXPECT_EQ(logged.at("quality"), "h");
    EXPECT_EQ(logged.at("sender"), "Studio Bian");
}

} // namespace
