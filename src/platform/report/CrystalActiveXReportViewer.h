#pragma once
#include <QWidget>
#include <memory>

#include "platform/report/ReportPages.h"

class QLabel;
class QScrollArea;

namespace report {

class Report;
class ReportPages;
class PageView;

// The report viewer: the pages with zoom and page navigation, printing and export.
class CrystalActiveXReportViewer : public QWidget {
    Q_OBJECT
  public:
    explicit CrystalActiveXReportViewer(QWidget* parent = nullptr);
    ~CrystalActiveXReportViewer() override;

    void SetReportSource(Report* report) { source_ = report; }
    // Reads the report's rows and shows its first page.
    void ViewReport();

    int PageCount() const;
    int CurrentPage() const { return page_; }
    const ReportPages* Pages() const { return pages_.get(); }

    void ShowPage(int page);
    void FitWidth();
    void FitPage();
    void Zoom(double factor);

    void PrintWithDialog();
    void ExportTo(const QString& kind);
    // The page on screen, which takes the double clicks and the keys that choose a figure.
    PageView* View() const { return view_; }

  signals:
    // A reader chose a figure of the report (a bar, a cell of the table, the notes).
    void FiguraElegida(const report::Figura& figura);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Refresh();

    Report* source_ = nullptr;
    std::unique_ptr<ReportPages> pages_;
    int page_ = 0;
    double zoom_ = 1.0;
    enum class Fit { Width, Page, None } fit_ = Fit::Page;
    QScrollArea* scroll_;
    PageView* view_;
    QLabel* pageLabel_;
};

}  // namespace report
