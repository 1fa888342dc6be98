#include "app/PsychroBox.h"

#include "charts/PainterSurface.h"

#include <QMouseEvent>
#include <QPainter>

TPsychroBox::TPsychroBox(QWidget* pParent) : QWidget(pParent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setMinimumSize(400, 300);
}

TPsychroBox::~TPsychroBox() {
  v_diagram.reset();
  v_surface.reset();
  v_painter.reset();
}

void TPsychroBox::SetBuilder(Builder builder) {
  v_builder = std::move(builder);
  Invalidate();
}

void TPsychroBox::Invalidate() {
  v_image = QImage();
  v_highlight = QRect();
  update();
}

void TPsychroBox::Render() { DrawInto(true); }

void TPsychroBox::Redraw() {
  if (!v_diagram) return Invalidate();
  DrawInto(false);
  update();
}

void TPsychroBox::DrawInto(bool bBuild) {
  if (bBuild) {
    v_diagram.reset();
    v_surface.reset();
  }
  v_painter.reset();
  v_image = QImage(size(), QImage::Format_RGB32);
  v_image.fill(Qt::white);
  if (!v_builder) return;
  v_painter = std::make_unique<QPainter>(&v_image);
  v_painter->setFont(font());
  if (bBuild || !v_surface) {
    v_surface = std::make_unique<CTPainterSurface>(v_painter.get(), false);
    v_diagram = v_builder(*v_surface, size());
  } else {
    v_surface->Retarget(v_painter.get());
  }
  v_diagram->SetDimensions(width(), height());
  v_diagram->DrawDiagram(true);
  v_painter->end();
  ++v_drawCount;
}

void TPsychroBox::paintEvent(QPaintEvent*) {
  if (v_image.size() != size()) Render();
  QPainter painter(this);
  painter.drawImage(0, 0, v_image);
  if (v_highlight.isEmpty()) return;
  painter.setPen(QPen(Qt::black, 3));
  painter.setBrush(Qt::NoBrush);
  if (v_highlightIsPoint) painter.drawEllipse(v_highlight);
  else painter.drawRect(v_highlight);
}

void TPsychroBox::mouseMoveEvent(QMouseEvent* event) {
  if (!v_diagram) return;
  const QPoint at = event->position().toPoint();
  v_diagram->OnHoover(at.x(), at.y());
  const QRect highlight = v_diagram->HighlightRect();
  const bool isPoint = v_diagram->SelectedPoint() != nullptr;
  if (highlight == v_highlight && isPoint == v_highlightIsPoint) return;
  update(v_highlight.adjusted(-3, -3, 3, 3));
  v_highlight = highlight;
  v_highlightIsPoint = isPoint;
  update(v_highlight.adjusted(-3, -3, 3, 3));
}

void TPsychroBox::leaveEvent(QEvent*) {
  if (v_highlight.isEmpty()) return;
  update(v_highlight.adjusted(-3, -3, 3, 3));
  v_highlight = QRect();
}

void TPsychroBox::mouseReleaseEvent(QMouseEvent* event) {
  if (!v_diagram) return;
  const QPoint at = event->position().toPoint();
  v_diagram->OnClick(at.x(), at.y());
}
