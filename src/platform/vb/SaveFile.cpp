#include "platform/vb/SaveFile.h"

#include <QtGlobal>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <filesystem>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace {

#ifdef Q_OS_UNIX
QByteArray N(const QString& path) {
    return QFile::encodeName(path);
}
#endif

// What a path names that is not a regular file.
QString Kind(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (stat(N(path).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode)) return "es una tubería (FIFO)";
        if (S_ISSOCK(status.st_mode)) return "es un socket";
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return "es un dispositivo";
    }
#endif
    return QFileInfo(path).isDir() ? "es una carpeta" : "no es un archivo regular";
}

// The first link on the way to a path that may be another user's trap: owned neither by us nor
// by root, and pointing at what its owner does not own (or at nothing). The path is taken as the
// system walks it, "..", links and all.
QString Trap(const QString& path) {
#ifdef Q_OS_UNIX
    const QByteArray way = N(QDir::isAbsolutePath(path) ? path : QDir::currentPath() + "/" + path);
    for (qsizetype end = 1; end <= way.size(); ++end) {
        if (end < way.size() && way[end] != '/') continue;
        const QByteArray part = way.left(end);
        struct stat link, target;
        if (lstat(part.constData(), &link) != 0 || !S_ISLNK(link.st_mode) ||
            link.st_uid == geteuid() || link.st_uid == 0)
            continue;
        if (stat(part.constData(), &target) != 0 || target.st_uid != link.st_uid)
            return QFile::decodeName(part);
    }
#else
    Q_UNUSED(path);
#endif
    return {};
}

// The file to write for a path: the path itself or a link's final target; why not, if refused.
QString Resolve(const QString& path, QString* why) {
    if (const QString trap = Trap(path); !trap.isEmpty()) {
        *why = "sigue el enlace " + trap + ", de otro usuario, hacia algo que no es suyo";
        return {};
    }
    const QFileInfo info(path);
    QString target = path;
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty()) {
            *why = "es un enlace a un archivo que no existe";
            return {};
        }
    }
    if (QFileInfo::exists(target) && !QFileInfo(target).isFile()) *why = Kind(target);
    return target;
}

// The temporary file takes the owner, group and mode of the file it replaces. A writer who may
// not give files away (a user replacing a group-writable file of someone else) makes it his
// own: in the old group when he belongs to it, with the old mode but no set-id bits.
bool KeepsWhatItCan(QSaveFile& file, const QString& target) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (stat(N(target).constData(), &status) != 0) return true;  // a new file
    mode_t mode = status.st_mode & 07777;
    if (fchown(file.handle(), status.st_uid, status.st_gid) != 0) {
        mode &= 0777;
        [[maybe_unused]] const int group = fchown(file.handle(), uid_t(-1), status.st_gid);
    }
    return fchmod(file.handle(), mode) == 0;
#else
    Q_UNUSED(target);
    return file.setPermissions(QFileInfo(target).permissions()) || !QFileInfo::exists(target);
#endif
}

// Renames, over an existing file only when asked to.
bool Rename(const QString& from, const QString& to, bool replace) {
#ifdef Q_OS_LINUX
    return renameat2(AT_FDCWD, N(from).constData(), AT_FDCWD, N(to).constData(),
                     replace ? 0 : RENAME_NOREPLACE) == 0;
#else
    const std::filesystem::path source(from.toStdU16String()), place(to.toStdU16String());
    std::error_code error;
    if (!replace && std::filesystem::exists(place, error)) return false;
    std::filesystem::rename(source, place, error);
    return !error;
#endif
}

// A second name for a file, beside it, when the system has hard links.
bool Link(const QString& from, const QString& to) {
#ifdef Q_OS_UNIX
    return ::link(N(from).constData(), N(to).constData()) == 0;
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
    return false;
#endif
}

[[noreturn]] void Fails(const QString& path, const QString& why = {}) {
    throw RuntimeError(vbError::kAccesoArchivo, "Error de acceso a la ruta o el archivo: " + path +
                                                    (why.isEmpty() ? "." : " (" + why + ")."));
}

}  // namespace

struct SaveFiles::Pending {
    Pending(const QString& p, const QString& t, std::unique_ptr<QSaveFile> f)
        : path(p), target(t), file(std::move(f)) {}
    QString path;                     // as asked, for messages
    QString target;                   // the file replaced or removed
    std::unique_ptr<QSaveFile> file;  // null: the target is removed
    QString aside;                    // the old file's name until every new one is in place
    bool moved = false;               // the old file left its place for that name
    bool placed = false;              // the new file is in place

    // The old file goes aside under a name of its own: a second link when the system allows,
    // so that the target is never missing; else (and always for a file taken away) moved there.
    bool PutAside() {
        if (!QFileInfo::exists(target)) return true;
        const QFileInfo t(target);
        auto taken = [](const QString& name) {
            return QFileInfo::exists(name) || QFileInfo(name).isSymLink();
        };
        for (int n = 0; n < 100; ++n) {
            aside = t.absolutePath() + "/." + t.fileName() +
                    QString(".viejo-%1-%2").arg(QCoreApplication::applicationPid()).arg(n);
            if (taken(aside)) continue;
            if ((file && Link(target, aside)) || (moved = Rename(target, aside, false)))
                return true;
            if (!taken(aside)) break;  // not a name taken meanwhile: the system refuses
        }
        aside.clear();
        return false;
    }
};

QString WhyNotWritable(const QString& path) {
    QString why;
    Resolve(path, &why);
    return why;
}

SaveFiles::SaveFiles() = default;
SaveFiles::~SaveFiles() = default;  // a QSaveFile not committed removes its temporary file

bool SaveFiles::Stopped() {
    if (!stopped_ && stop_) stopped_ = stop_();
    return stopped_;
}

void SaveFiles::Add(const QString& path, const QByteArray& data) {
    if (Stopped()) return;
    if (path == "-") {
        standardOutput_ += data;
        return;
    }
    QString why;
    const QString target = Resolve(path, &why);
    if (!why.isEmpty()) Fails(path, why);
    auto file = std::make_unique<QSaveFile>(target);
    // Unbuffered: a buffered write that fails on the final flush can pass unnoticed.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file->write(data) != data.size() || !file->flush() || !KeepsWhatItCan(*file, target))
        Fails(path);
    pending_.emplace_back(path, target, std::move(file));
}

void SaveFiles::Remove(const QString& path) {
    pending_.emplace_back(path, path, nullptr);
}

// Every new file in place, every old one back, as the batch found them.
void SaveFiles::Restore(QString* failures) {
    for (Pending& p : pending_) {
        const bool back = p.aside.isEmpty()     ? !p.placed || QFile::remove(p.target)
                          : p.placed || p.moved ? Rename(p.aside, p.target, true)
                                                : QFile::remove(p.aside);
        if (!back)
            *failures +=
                "; no se pudo devolver " + p.target + " a como estaba" +
                (p.aside.isEmpty() ? QString() : " (el anterior quedó en " + p.aside + ")");
    }
}

void SaveFiles::Commit() {
    if (Stopped()) return;
    // The old files go aside first, then the new ones take their places; any failure on the
    // way puts everything back.
    for (Pending& p : pending_) {
        const bool done = p.PutAside() && (!p.file || (p.placed = p.file->commit()));
        if (!done) {
            QString failures;
            Restore(&failures);
            pending_.clear();
            Fails(p.path, failures.mid(2));
        }
    }
    for (const Pending& p : pending_)
        if (!p.aside.isEmpty()) QFile::remove(p.aside);
    pending_.clear();
    if (standardOutput_.isEmpty()) return;
    const size_t size = size_t(standardOutput_.size());
    if (std::fwrite(standardOutput_.constData(), 1, size, stdout) != size ||
        std::fflush(stdout) != 0)
        Fails("-", "salida estándar");
    standardOutput_.clear();
}

void SaveFile(const QString& path, const QByteArray& data, SaveFiles* batch) {
    if (batch) return batch->Add(path, data);
    SaveFiles alone;
    alone.Add(path, data);
    alone.Commit();
}
