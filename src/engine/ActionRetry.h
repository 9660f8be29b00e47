#pragma once

#include <QString>

#include <functional>

class Connection;

// Runs one action of the engine on its connection (a save, a state action) so that a passing
// failure of the database never reaches the user as the server's own words:
//
//  - a connection that was lost before is opened again first;
//  - the action runs with its message boxes held back (DeferredMessages), so that none is open
//    while its transaction is; they are shown after it, unless the run is repeated;
//  - a run that failed for a conflict with another transaction (deadlock, serialization failure,
//    SQLite's BUSY or LOCKED) runs once more; a second conflict answers `refusal()`, the action's
//    own "changed by another user" text;
//  - a run that lost the connection opens it again and runs once more; when the connection
//    cannot be opened, or was lost during the commit so that nobody knows whether it took effect,
//    the answer says so.
//
// The action answers "" or its message, and must have ended its transaction when it returns.
class ActionRetry
{
public:
    explicit ActionRetry(Connection &cnn)
        : m_cnn(cnn)
    {}

    QString run(const std::function<QString()> &action, const std::function<QString()> &refusal);

    // Opens the connection again when it was lost; false when that fails.
    bool reconnectIfLost();

    static QString noConnectionText();
    static QString outcomeUnknownText();

private:
    Connection &m_cnn;
};
