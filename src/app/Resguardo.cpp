#include "app/Resguardo.h"

#include <QtGlobal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

void ResguardaProceso() {
#ifdef Q_OS_UNIX
    const struct rlimit ninguno {};
    setrlimit(RLIMIT_CORE, &ninguno);
#endif
#ifdef Q_OS_LINUX
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}
