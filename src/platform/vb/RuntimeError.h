#pragma once
#include <QString>
#include <exception>

// The one error every platform layer and the service library raise: a number and a
// description, plus the statement that failed for database errors.
class RuntimeError : public std::exception {
  public:
    RuntimeError(int number, QString description, QString statement = {});
    ~RuntimeError() override;
    int Number() const { return number_; }
    const QString& Description() const { return description_; }
    const QString& Statement() const { return statement_; }
    const char* what() const noexcept override { return what_.constData(); }

  private:
    int number_;
    QString description_;
    QString statement_;
    QByteArray what_;
};
