#pragma once
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

#include "platform/ado/QueryAtOnce.h"

#include "platform/report/ReportContent.h"
#include "platform/report/ReportDefinition.h"

namespace report {

struct LogOnInfo {
    QString server, port, user, password;
};

class DatabaseTable {
  public:
    const QString& Location() const { return location_; }
    // "database.table"
    void SetLocation(const QString& location) { location_ = location; }

  private:
    QString location_;
};

// A formula field: its text is a text constant of the report language ('' for an empty
// text, a doubled quote for a quote).
class FormulaFieldDefinition {
  public:
    explicit FormulaFieldDefinition(QString name) : name_(std::move(name)) {}
    const QString& Name() const { return name_; }
    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    QString Value() const;

  private:
    QString name_;
    QString text_ = "''";
};

// Runs a statement for a report and gives its whole result.
using RowSource = std::function<ado::Table(const QString& statement)>;

// A report opened from its file: where its rows come from, its formulas, and what it shows.
class Report {
  public:
    Report(QString path, ReportDefinition definition, LogOnInfo logOn);
    const QString& Path() const { return path_; }
    const ReportDefinition& Definition() const { return definition_; }
    DatabaseTable& DatabaseTables(int position);
    FormulaFieldDefinition& FormulaFields(int position);
    // A line describing the selection, printed under the title.
    void SetSelection(const QString& text) { selection_ = text; }
    // A line printed under the chart.
    void SetNote(const QString& text) { note_ = text; }
    void SetFileName(const QString& text) { fileName_ = text; }
    // Where the rows are read: by default a session of the report's own with its log-on
    // settings; the caller that holds the session that wrote the table may serve them instead.
    void SetRowSource(RowSource source) { rowSource_ = std::move(source); }

    // Reads the rows of the first table and works out what the page shows.
    ReportContent Read();

  private:
    template <typename T>
    T& Item(QVector<T>& items, int position, const char* what);

    QString path_;
    ReportDefinition definition_;
    LogOnInfo logOn_;
    QVector<DatabaseTable> tables_;
    QVector<FormulaFieldDefinition> formulas_;
    QString selection_;
    QString note_;
    QString fileName_;
    RowSource rowSource_;
};

// The report engine's application object.
class Application {
  public:
    enum { crOpenReportByTempCopy = 1 };
    // Connection settings the reports read their tables with.
    void LogOnServer(const QString& server, const QString& port, const QString& user,
                     const QString& password);
    std::unique_ptr<Report> OpenReport(const QString& path,
                                       int openMethod = crOpenReportByTempCopy);

  private:
    LogOnInfo logOn_;
};

}  // namespace report
