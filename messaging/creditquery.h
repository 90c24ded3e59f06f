#pragma once

#include "messaging/smsgateway.h"

#include <QFuture>
#include <QString>

namespace parlix {

class DataFolder;

// The remaining credit of the stored account as a decimal number, asked to the
// gateway; an empty text when there is no account or the query fails. It
// blocks for the length of the exchange: the window calls queryCreditAsync.
QString queryCredit(const DataFolder& folder, const GatewayFactory& factory);
// The same on a worker thread.
QFuture<QString> queryCreditAsync(const DataFolder& folder, GatewayFactory factory);

// What the user is told when the gateway cannot be reached for the credit.
QString connectionFailedText();
// What the user is told when no gateway login or password is stored.
QString missingAccountText();

} // namespace parlix
