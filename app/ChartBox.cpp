#include "app/ChartBox.h"

#include "charts/ChartSetup.h"
#include "charts/PainterSurface.h"

#include <QMouseEvent>
#include <QPainter>

TChartBox::TChartBox(QWidget* pParent) : QWidget(pParent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 240);
}

TChartBox::~TChartBox() {
  v_graph.reset();
  v_surface.reset();
  v_painter.reset();
}

void TChartBox::SetBuilder(Builder builder, bool bAddLegend, bool bAddChecks) {
  v_builder = std::move(builder);
  v_addLegend = bAddLegend;
  v_addChecks = bAddChecks;
  Invalidate();
}

void TChartBox::Invalidate() {
  v_image = QImage();
  update();
}

void TChartBox::Render() {
  v_graph.reset();
  v_surface.reset();
  v_painter.reset();
  v_image = QImage(size(), QImage::Format_RGB32);
  v_image.fill(Qt::white);
  if (!v_builder) return;
  v_painter = std::make_unique<QPainter>(&v_image);
  v_painter->setFont(font());
  v_surface = std::make_unique<CTPainterSurface>(v_painter.get(), false);
  v_graph = v_builder(*v_surface, size());
  TLegend::LoadLegendFromIniFile(v_graph->GetPlots(), QString::fromLatin1(CTChartSetup::kPreferencesKey), true, true);
  v_graph->DrawOutline(v_addLegend, v_addChecks);
  v_graph->DrawGraph();
  v_painter->end();
  ++v_drawCount;
}

void TChartBox::paintEvent(QPaintEvent*) {
  if (v_image.size() != size()) Render();
  QPainter painter(this);
  painter.drawImage(0, 0, v_image);
}

void TChartBox::mouseReleaseEvent(QMouseEvent* event) {
  if (!v_graph) return;
  // What the legend held before the click: a change is saved and drawn.
  std::vector<std::pair<bool, TColor>> before;
  for (const TLegend* entry : v_graph->GetPlots()) before.emplace_back(entry->MustDisplay(), entry->GetColor());
  v_graph->OnClick(event->position().toPoint().x(), event->position().toPoint().y());
  bool changed = false;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const TLegend* entry = v_graph->GetPlots()[i];
    changed = changed || before[i] != std::pair<bool, TColor>(entry->MustDisplay(), entry->GetColor());
  }
  if (!changed) return;
  TLegend::SaveLegendToIniFile(v_graph->GetPlots(), QString::fromLatin1(CTChartSetup::kPreferencesKey));
  Invalidate();
}
