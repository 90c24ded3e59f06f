#pragma once

#include "sending/proxylogin.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace parlix {

// "Autenticazione proxy": the user name and password of a proxy that refused
// the gateway exchange. OK stays disabled until a user name is typed.
class ProxyCredentialsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ProxyCredentialsDialog(const QString& userName, QWidget* parent = nullptr);

    // The credentials as the boxes show them.
    ProxyLogin login() const;

private:
    QLineEdit* userNameEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// The prompt the program installs: the dialog, modal over the active window;
// nothing when the user cancels.
std::optional<ProxyLogin> askProxyLogin(const QString& userName);

} // namespace parlix
