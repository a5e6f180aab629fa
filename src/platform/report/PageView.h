#pragma once
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/report/ReportPages.h"

namespace report {

// One page, painted by the report's own page painter at the current zoom. Pointing at a bar
// tells its amount; a double click on a bar, a cell of the table or the notes, or Enter on the
// table's cell the arrow keys marked, chooses that figure.
class PageView : public QWidget {
  public:
    explicit PageView(QWidget* parent);
    void Show(const ReportPages* pages, int page, double zoom);
    std::function<void(const Figura&)> alElegir;
    // The table's cell marked for Enter, if any.
    std::optional<Casilla> Marcada() const { return marcada_; }

  protected:
    void mouseMoveEvent(QMouseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void paintEvent(QPaintEvent*) override;

  private:
    void Elige(const std::optional<Figura>& figura);

    const ReportPages* pages_ = nullptr;
    int page_ = 0;
    double zoom_ = 1;
    QImage imagen_;
    std::optional<Casilla> marcada_;
};

}  // namespace report
