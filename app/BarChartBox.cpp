#include "app/BarChartBox.h"

#include "charts/PainterSurface.h"

#include <QPainter>

TBarChartBox::TBarChartBox(QWidget* pParent) : QWidget(pParent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 200);
}

void TBarChartBox::SetData(std::optional<LTBarChartData> chart, BarBase base) {
  if (chart) v_chart.emplace(std::move(*chart), base);
  else v_chart.reset();
  v_image = QImage();
  update();
}

void TBarChartBox::Render() {
  v_image = QImage(size(), QImage::Format_RGB32);
  v_image.fill(Qt::white);
  if (!v_chart) return;
  QPainter painter(&v_image);
  CTPainterSurface surface(&painter, false);
  v_chart->Draw(surface, rect());
  ++v_drawCount;
}

void TBarChartBox::paintEvent(QPaintEvent*) {
  if (v_image.size() != size()) Render();
  QPainter painter(this);
  painter.drawImage(0, 0, v_image);
}
