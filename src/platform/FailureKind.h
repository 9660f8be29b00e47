#pragma once

// What kind of failure a statement met, as far as the caller can act on it.
//
// Conflict: the database gave up on this transaction because of another one (a deadlock, a
// serialization failure, SQLite's BUSY or LOCKED after its wait); everything of the transaction
// is rolled back and running it again may well succeed.
// Lost: the connection is gone (the server ended it, restarted or cannot be reached); the server
// rolled back what was open, and the connection must be opened again before the next statement.
// Other: anything else (a refused value, a missing table, ...): running it again changes nothing.
enum class FailureKind { None, Other, Conflict, Lost };
