#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QSaveFile;

// Why a path may not be written, or empty when it may: only a new path or a regular file is
// written. A link, the path's own or a folder's on the way, is followed only when it cannot be
// another user's trap: it is ours or root's, or its owner owns what it points at.
QString WhyNotWritable(const QString& path);

// Files written together, whole or not at all: each goes to a temporary file beside its
// target (a link's target), every write checked; Commit puts them all in place, or on any
// failure leaves every target as it was. A replaced file keeps its owner, group and mode as far
// as the writer may give them. A failure is error 75 naming the file; temporary files not
// committed are removed. The path "-" is standard output, written on Commit.
class SaveFiles {
  public:
    SaveFiles();
    SaveFiles(const SaveFiles&) = delete;
    SaveFiles& operator=(const SaveFiles&) = delete;
    ~SaveFiles();
    void Add(const QString& path, const QByteArray& data);
    // A file taken away on Commit, with the others.
    void Remove(const QString& path);
    // Asked between writes; once it says stop, nothing more is written and Commit does nothing.
    void StopWhen(std::function<bool()> stop) { stop_ = std::move(stop); }
    bool Stopped();
    void Commit();

  private:
    struct Pending;
    void Restore(QString* failures);
    std::vector<Pending> pending_;
    QByteArray standardOutput_;
    std::function<bool()> stop_;
    bool stopped_ = false;
};

// One file alone, or in a batch when one is given.
void SaveFile(const QString& path, const QByteArray& data, SaveFiles* batch = nullptr);
