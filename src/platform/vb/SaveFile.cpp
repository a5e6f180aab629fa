#include "platform/vb/SaveFile.h"

#include <QtGlobal>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace {

// What a path names that is not a regular file.
QString Kind(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (stat(QFile::encodeName(path).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode)) return "es una tubería (FIFO)";
        if (S_ISSOCK(status.st_mode)) return "es un socket";
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return "es un dispositivo";
    }
#endif
    return QFileInfo(path).isDir() ? "es una carpeta" : "no es un archivo regular";
}

// A link the kernel's protected_symlinks would not follow: in a world-writable sticky folder,
// owned neither by us nor by the folder's owner.
bool StrangersLink(const QString& link) {
#ifdef Q_OS_UNIX
    struct stat own, folder;
    return lstat(QFile::encodeName(link).constData(), &own) == 0 &&
           stat(QFile::encodeName(QFileInfo(link).absolutePath()).constData(), &folder) == 0 &&
           (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH) && own.st_uid != geteuid() &&
           own.st_uid != folder.st_uid;
#else
    Q_UNUSED(link);
    return false;
#endif
}

// The file to write for a path: the path itself or a link's final target; why not, if refused.
QString Resolve(const QString& path, QString* why) {
    const QFileInfo info(path);
    QString target = path;
    if (info.isSymLink()) {
        if (StrangersLink(path)) {
            *why = "es un enlace de otro usuario en una carpeta compartida";
            return {};
        }
        target = info.canonicalFilePath();
        if (target.isEmpty()) {
            *why = "es un enlace a un archivo que no existe";
            return {};
        }
    }
    if (QFileInfo::exists(target) && !QFileInfo(target).isFile()) *why = Kind(target);
    return target;
}

// The temporary file takes the owner, group and mode of the file it replaces.
bool KeepsOwnerAndMode(QSaveFile& file, const QString& target) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (stat(QFile::encodeName(target).constData(), &status) != 0) return true;  // a new file
    return fchown(file.handle(), status.st_uid, status.st_gid) == 0 &&
           fchmod(file.handle(), status.st_mode & 07777) == 0;
#else
    Q_UNUSED(target);
    return file.setPermissions(QFileInfo(target).permissions()) || !QFileInfo::exists(target);
#endif
}

[[noreturn]] void Fails(const QString& path, const QString& why = {}) {
    throw RuntimeError(vbError::kAccesoArchivo, "Error de acceso a la ruta o el archivo: " + path +
                                                    (why.isEmpty() ? "." : " (" + why + ")."));
}

}  // namespace

QString WhyNotWritable(const QString& path) {
    QString why;
    Resolve(path, &why);
    return why;
}

SaveFiles::SaveFiles() = default;
SaveFiles::~SaveFiles() = default;  // a QSaveFile not committed removes its temporary file

void SaveFiles::Add(const QString& path, const QByteArray& data) {
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
        file->write(data) != data.size() || !file->flush() || !KeepsOwnerAndMode(*file, target))
        Fails(path);
    pending_.push_back({path, std::move(file)});
}

void SaveFiles::Commit() {
    for (Pending& p : pending_)
        if (!p.file->commit()) Fails(p.path);
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
