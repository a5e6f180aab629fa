#pragma once
#include <QString>

// Qt wants a private runtime folder on Unix; a job started by cron or a service has none set.
// A new one of our own, made under an unpredictable name, so nobody can plant it beforehand,
// and removed at exit. The folders of our user's earlier runs whose process is gone (killed)
// are removed first; no other.
class EntornoPropio {
  public:
    EntornoPropio();
    ~EntornoPropio();
    EntornoPropio(const EntornoPropio&) = delete;
    EntornoPropio& operator=(const EntornoPropio&) = delete;

  private:
    QString carpeta_;
};
