#pragma once
// TChartBox: a paint box that shows one line graph of the current unit. The
// graph is drawn into a cached image when the box is shown, resized or
// told that its data changed; painting only copies the image. A click on
// the legend toggles a plot or changes its colour; the legend's settings
// are kept under the preferences key and read back at every drawing.

#include "charts/Vgraph.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class CTPainterSurface;
class QPainter;

class TChartBox : public QWidget {
  Q_OBJECT
 public:
  using Builder = std::function<std::unique_ptr<TVirtLineGraph>(IDrawSurface& surface, QSize size)>;

  explicit TChartBox(QWidget* pParent = nullptr);
  ~TChartBox() override;

  // The graph to draw; AddLegend and AddChecks as the outline takes them.
  void SetBuilder(Builder builder, bool bAddLegend, bool bAddChecks);
  // The data changed: the next paint draws the graph again.
  void Invalidate();
  // The number of full drawings so far (benchmarks and tests).
  int DrawCount() const { return v_drawCount; }
  const TVirtLineGraph* Graph() const { return v_graph.get(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Render();

  Builder v_builder;
  bool v_addLegend = true, v_addChecks = false;
  QImage v_image;
  // The graph of the last drawing, kept for legend clicks; its surface
  // painted into v_image and is not drawn on again.
  std::unique_ptr<QPainter> v_painter;
  std::unique_ptr<CTPainterSurface> v_surface;
  std::unique_ptr<TVirtLineGraph> v_graph;
  int v_drawCount = 0;
};
