#include "storelink.h"

namespace parlix {

void StoreLink::setDown(Connection connection, const QString& why)
{
    const bool wasReachable = reachable();
    down_ |= bit(connection);
    problem_ = why.trimmed();
    if (wasReachable)
        emit lost(problem_);
}

void StoreLink::setUp(Connection connection)
{
    if (!isDown(connection))
        return;
    down_ &= ~bit(connection);
    if (reachable()) {
        problem_.clear();
        emit restored();
    }
}

} // namespace parlix
