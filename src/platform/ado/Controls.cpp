#include "platform/ado/Controls.h"

#include "platform/ado/Connection.h"
#include "platform/ado/Sessions.h"

namespace ado {

Controls::Controls() = default;
Controls::~Controls() = default;

void Controls::Stop(const ConnectionSettings& settings, Sessions& sessions) {
    sessions.Stop();
    for (const QString& node : sessions.Nodes()) {
        std::unique_ptr<Connection>& control = byNode_[node];
        if (!control) control = std::make_unique<Connection>();
        try {
            // A control session the server dropped meanwhile is opened again to stop the work.
            if (!control->IsOpen() || control->EnsureOpen() || control->Node() != node)
                if (!control->OpenOn(settings, node)) continue;
            sessions.Cancel(*control);
        } catch (const RuntimeError&) {
            // No server to reach: no statement starts from now on, and the running ones end on
            // their own waits.
        }
    }
}

}  // namespace ado
