#pragma once
// TPsychroBox: the paint box of the Psychrometrics tab. The diagram is drawn
// into a cached image when the data, the size or the legend change; a mouse
// move only asks the diagram what lies under the mouse and draws the
// highlight over the image, never the whole chart again.

#include "charts/PsychroGraph.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class CTPainterSurface;
class QPainter;

class TPsychroBox : public QWidget {
  Q_OBJECT
 public:
  using Builder = std::function<std::unique_ptr<TAirPropDiagram>(IDrawSurface& surface, QSize size)>;

  explicit TPsychroBox(QWidget* pParent = nullptr);
  ~TPsychroBox() override;

  void SetBuilder(Builder builder);
  // The data changed: the next paint builds the diagram again.
  void Invalidate();
  // The same diagram drawn again (a legend colour changed in it).
  void Redraw();
  int DrawCount() const { return v_drawCount; }
  TAirPropDiagram* Diagram() const { return v_diagram.get(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Render();
  void DrawInto(bool bBuild);

  Builder v_builder;
  QImage v_image;
  std::unique_ptr<QPainter> v_painter;
  std::unique_ptr<CTPainterSurface> v_surface;
  std::unique_ptr<TAirPropDiagram> v_diagram;
  QRect v_highlight;
  bool v_highlightIsPoint = false;
  int v_drawCount = 0;
};
