#pragma once
// TBarChartBox: a paint box that shows one grouped bar chart (CTBarChart).
// The chart is drawn into a cached image when the box is shown, resized or
// given new data; painting only copies the image.

#include "charts/BarChart.h"

#include <QImage>
#include <QWidget>

#include <optional>

class TBarChartBox : public QWidget {
  Q_OBJECT
 public:
  explicit TBarChartBox(QWidget* pParent = nullptr);

  // The chart to show, from axis to legend, its y axis through zero when
  // base says so; none leaves the box white.
  void SetData(std::optional<LTBarChartData> chart, BarBase base = BarBase::kFromData);
  // The data shown, for tests; none when the box is empty.
  const std::optional<CTBarChart>& Chart() const { return v_chart; }
  // The number of full drawings so far (tests).
  int DrawCount() const { return v_drawCount; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Render();

  std::optional<CTBarChart> v_chart;
  QImage v_image;
  int v_drawCount = 0;
};
