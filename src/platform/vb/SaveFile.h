#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QSaveFile;

// Why a path may not be written, or empty when it may: only a new path or a regular file is
// written. A link is followed to the regular file it names, unless it dangles or is a
// stranger's link in a shared sticky folder (as the kernel's protected_symlinks refuses it).
QString WhyNotWritable(const QString& path);

// Files written together, whole or not at all: each goes to a temporary file beside its
// target (a link's target), every write checked; Commit puts them all in place, keeping an
// existing file's owner and mode. A failure is error 75 naming the file; temporary files not
// committed are removed. The path "-" is standard output, written on Commit.
class SaveFiles {
  public:
    SaveFiles();
    SaveFiles(const SaveFiles&) = delete;
    SaveFiles& operator=(const SaveFiles&) = delete;
    ~SaveFiles();
    void Add(const QString& path, const QByteArray& data);
    void Commit();

  private:
    struct Pending {
        QString path;
        std::unique_ptr<QSaveFile> file;
    };
    std::vector<Pending> pending_;
    QByteArray standardOutput_;
};

// One file alone, or in a batch when one is given.
void SaveFile(const QString& path, const QByteArray& data, SaveFiles* batch = nullptr);
