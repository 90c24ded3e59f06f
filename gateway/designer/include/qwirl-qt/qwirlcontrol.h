#pragma once

#include <QString>
#include <QWidget>

#include <memory>

namespace qwirl {

class Control;
struct Hosts;

// The gateway control as a Qt widget, for forms built in Qt Designer or in code: the eight properties of
// qwirl::Control as Q_PROPERTY (none of them stored in a form: a host sets them at run time) and its three
// methods as Q_INVOKABLE.
//
// Invisible at run time: the widget hides itself and draws nothing. Only in design mode (the Designer
// plugin turns it on) it shows and draws its picture with "QWIRL 1.6".
//
// The properties and methods touch no window state, so a host may call them on a worker thread, one
// thread at a time, while the widget itself stays on the window thread. Send, SendNotify and CheckCredits
// block for one HTTP exchange each.
class QwirlControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Flash READ Flash WRITE setFlash DESIGNABLE false STORED false)
    Q_PROPERTY(QString password READ password WRITE setPassword DESIGNABLE false STORED false)
    Q_PROPERTY(QString login READ login WRITE setLogin DESIGNABLE false STORED false)
    Q_PROPERTY(QString Sender READ Sender WRITE setSender DESIGNABLE false STORED false)
    Q_PROPERTY(QString ProxyAddress READ ProxyAddress WRITE setProxyAddress DESIGNABLE false STORED false)
    Q_PROPERTY(QString ProxyLogin READ ProxyLogin WRITE setProxyLogin DESIGNABLE false STORED false)
    Q_PROPERTY(QString ProxyPassword READ ProxyPassword WRITE setProxyPassword DESIGNABLE false STORED false)
    Q_PROPERTY(short Quality READ Quality WRITE setQuality DESIGNABLE false STORED false)

public:
    // The deployment's gateway hosts (compiled defaults, QWIRL_SEND_HOST / QWIRL_NOTIFY_HOST).
    explicit QwirlControl(QWidget* parent = nullptr);
    // Fixed hosts, e.g. a local sandbox.
    QwirlControl(const Hosts& hosts, QWidget* parent = nullptr);
    // Around a control set up already (hosts, proxy prompt); null makes one on the deployment's hosts.
    QwirlControl(std::unique_ptr<Control> control, QWidget* parent = nullptr);
    ~QwirlControl() override;

    static constexpr int MajorVersion = 1;
    static constexpr int MinorVersion = 6;
    // "QWIRL 1.6", the caption of the design-time picture and of the property page.
    static QString caption();

    bool Flash() const;
    void setFlash(bool flash);
    QString password() const;
    void setPassword(const QString& password);
    QString login() const;
    void setLogin(const QString& login);
    QString Sender() const;
    void setSender(const QString& sender);
    QString ProxyAddress() const;
    void setProxyAddress(const QString& address);
    QString ProxyLogin() const;
    void setProxyLogin(const QString& login);
    QString ProxyPassword() const;
    void setProxyPassword(const QString& password);
    short Quality() const;
    void setQuality(short quality);

    // A null QString is an absent argument, distinct from an empty one.
    Q_INVOKABLE long Send(const QString& Number, const QString& Text);
    Q_INVOKABLE long CheckCredits();
    Q_INVOKABLE long SendNotify(const QString& Number, const QString& Text, const QString& MessageID);
    // The container's reset: internet objects closed, properties kept.
    Q_INVOKABLE void reset();

    // The library object behind the widget, for what a host sets up once (proxy prompt, go-online hook).
    Control& control() { return *control_; }
    // Puts another library object behind the widget, one set up already (hosts, proxy prompt); the
    // property values go with the old one. Only while no method is running.
    void setControl(std::unique_ptr<Control> control);

    // Design mode: visible, with the design-time picture. Off (the default) at run time.
    void setDesignMode(bool on);
    bool designMode() const { return designMode_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<Control> control_;
    bool designMode_ = false;
};

} // namespace qwirl
