#pragma once
#include <QString>
#include <map>
#include <memory>

namespace ado {

class Connection;
class Sessions;
struct ConnectionSettings;

// The sessions that stop a piece of work's statements: one on each node its sessions are on, as
// a session id names another session on another node (where a balancer may put a new session).
class Controls {
  public:
    Controls();
    ~Controls();
    // No statement of sessions starts from now on, and the running ones are stopped.
    void Stop(const ConnectionSettings& settings, Sessions& sessions);

  private:
    std::map<QString, std::unique_ptr<Connection>> byNode_;
};

}  // namespace ado
