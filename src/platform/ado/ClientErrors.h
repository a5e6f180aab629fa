#pragma once
#include <QString>

namespace ado {

struct ConnectionSettings;

// What a common client error means for the person at the screen, in one Spanish sentence that
// names the server and says what to check; empty for other errors. connecting: the error came
// while opening the session. waited: the seconds the client waited before it gave up, when the
// error is a wait that ran out (0 otherwise).
QString ExplainClientError(int number, const QString& serverText,
                           const ConnectionSettings& settings, bool connecting, int waited);

}  // namespace ado
