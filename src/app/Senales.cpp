#include "app/Senales.h"

#include <QSocketNotifier>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <csignal>

bool ErrorEsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

namespace {
int tubo[2] = {-1, -1};

// All a handler may safely do: write the number into a pipe.
void AlRecibir(int senal) {
    const char numero = static_cast<char>(senal);
    [[maybe_unused]] const ssize_t escrito = ::write(tubo[1], &numero, 1);
}
}  // namespace

Senales::Senales() {
    if (::pipe(tubo) != 0) return;
    aviso_ = new QSocketNotifier(tubo[0], QSocketNotifier::Read, this);
    connect(aviso_, &QSocketNotifier::activated, this, [this] {
        char numero = 0;
        if (::read(tubo[0], &numero, 1) != 1) return;
        if (!estado_) estado_ = numero == SIGINT ? 130 : 143;
        emit Llegada();
    });
    struct sigaction accion {};
    accion.sa_handler = AlRecibir;
    sigemptyset(&accion.sa_mask);
    accion.sa_flags = SA_RESTART;
    for (int senal : {SIGINT, SIGTERM, SIGHUP}) sigaction(senal, &accion, nullptr);
}

Senales::~Senales() {
    for (int senal : {SIGINT, SIGTERM, SIGHUP}) std::signal(senal, SIG_DFL);
    if (tubo[0] >= 0) {
        ::close(tubo[0]);
        ::close(tubo[1]);
    }
}
#else
bool ErrorEsTerminal() {
    return false;
}
Senales::Senales() = default;
Senales::~Senales() = default;
#endif
