#include "qwirl-qt/qwirlcontrol.h"

#include "designtimedrawing.h"

#include "qwirl/control.h"

#include <QPainter>

#include <optional>
#include <string>

namespace qwirl {
namespace {

std::optional<std::string> argument(const QString& text)
{
    if (text.isNull()) {
        return std::nullopt;
    }
    return text.toStdString();
}

std::optional<std::string_view> view(const std::optional<std::string>& text)
{
    if (!text) {
        return std::nullopt;
    }
    return std::string_view(*text);
}

} // namespace

QwirlControl::QwirlControl(QWidget* parent) : QWidget(parent), control_(std::make_unique<Control>())
{
    hide();
}

QwirlControl::QwirlControl(const Hosts& hosts, QWidget* parent)
    : QWidget(parent), control_(std::make_unique<Control>(hosts))
{
    hide();
}

QwirlControl::QwirlControl(std::unique_ptr<Control> control, QWidget* parent)
    : QWidget(parent), control_(control ? std::move(control) : std::make_unique<Control>())
{
    hide();
}

QwirlControl::~QwirlControl() = default;

void QwirlControl::setControl(std::unique_ptr<Control> control)
{
    if (control) {
        control_ = std::move(control);
    }
}

QString QwirlControl::caption()
{
    return QStringLiteral("QWIRL %1.%2").arg(MajorVersion).arg(MinorVersion);
}

bool QwirlControl::Flash() const
{
    return control_->Flash();
}

void QwirlControl::setFlash(bool flash)
{
    control_->setFlash(flash);
}

QString QwirlControl::password() const
{
    return QString::fromStdString(control_->password());
}

void QwirlControl::setPassword(const QString& password)
{
    control_->setPassword(password.toStdString());
}

QString QwirlControl::login() const
{
    return QString::fromStdString(control_->login());
}

void QwirlControl::setLogin(const QString& login)
{
    control_->setLogin(login.toStdString());
}

QString QwirlControl::Sender() const
{
    return QString::fromStdString(control_->Sender());
}

void QwirlControl::setSender(const QString& sender)
{
    control_->setSender(sender.toStdString());
}

QString QwirlControl::ProxyAddress() const
{
    return QString::fromStdString(control_->ProxyAddress());
}

void QwirlControl::setProxyAddress(const QString& address)
{
    control_->setProxyAddress(address.toStdString());
}

QString QwirlControl::ProxyLogin() const
{
    return QString::fromStdString(control_->ProxyLogin());
}

void QwirlControl::setProxyLogin(const QString& login)
{
    control_->setProxyLogin(login.toStdString());
}

QString QwirlControl::ProxyPassword() const
{
    return QString::fromStdString(control_->ProxyPassword());
}

void QwirlControl::setProxyPassword(const QString& password)
{
    control_->setProxyPassword(password.toStdString());
}

short QwirlControl::Quality() const
{
    return control_->Quality();
}

void QwirlControl::setQuality(short quality)
{
    control_->setQuality(quality);
}

long QwirlControl::Send(const QString& Number, const QString& Text)
{
    const auto number = argument(Number);
    const auto text = argument(Text);
    return control_->Send(view(number), view(text));
}

long QwirlControl::CheckCredits()
{
    return control_->CheckCredits();
}

long QwirlControl::SendNotify(const QString& Number, const QString& Text, const QString& MessageID)
{
    const auto number = argument(Number);
    const auto text = argument(Text);
    const auto id = argument(MessageID);
    return control_->SendNotify(view(number), view(text), view(id));
}

void QwirlControl::reset()
{
    control_->CloseInternet();
}

void QwirlControl::setDesignMode(bool on)
{
    designMode_ = on;
    setVisible(on);
    update();
}

void QwirlControl::paintEvent(QPaintEvent*)
{
    if (!designMode_) {
        return;
    }
    QPainter painter(this);
    DesignTimeDrawing::paint(painter, rect());
}

} // namespace qwirl
