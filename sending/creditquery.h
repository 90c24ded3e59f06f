#pragma once

#include "sending/smsgateway.h"

#include <QFuture>
#include <QString>

namespace parlix {

class DataFolder;

// The answer to a credit query: the remaining credit as a decimal number, or
// an empty text and the reason there is none.
struct CreditAnswer
{
    // A credit text as it stands; an empty one means the gateway could not be reached.
    CreditAnswer(QString text = {})
        : credit(std::move(text)),
          failure(credit.isEmpty() ? CreditFailure::Unreachable : CreditFailure::None)
    {}
    CreditAnswer(QString text, CreditFailure reason) : credit(std::move(text)), failure(reason) {}

    QString credit;
    CreditFailure failure;
};

// The remaining credit of the stored account, asked to the gateway. It blocks
// for the length of the exchange: the window calls queryCreditAsync.
CreditAnswer queryCredit(const DataFolder& folder, const GatewayFactory& factory);
// The same on a worker thread.
QFuture<CreditAnswer> queryCreditAsync(const DataFolder& folder, GatewayFactory factory);

// What the user is told when a credit query fails for this reason.
QString creditFailureText(CreditFailure failure);
// What the user is told when the gateway cannot be reached for the credit.
QString connectionFailedText();
// What the user is told when no gateway login or password is stored.
QString missingAccountText();

} // namespace parlix
