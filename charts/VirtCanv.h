#pragma once
// CTVirtualCanvas: chart drawing in floating-point virtual coordinates over
// a device surface. Every coordinate maps per axis as
//   device = round(virtual x scale + offset)     (halves to even)
// and the call goes to the surface. The canvas exposes the surface's pen,
// brush and font as properties and keeps one saved copy of them.
//
// CTVirtualPath: a path whose nodes follow the SVG path commands (move,
// line, horizontal and vertical line, cubic and quadratic Bezier with their
// smooth "next" forms, elliptic arc, close), drawn on a canvas at an origin.

#include "charts/DrawSurface.h"

#include <QPointF>
#include <QVector>

#include <memory>
#include <vector>

class CTVirtualCanvas {
 public:
  // The surface must outlive the canvas; its attributes become the saved set.
  explicit CTVirtualCanvas(IDrawSurface* pFromCanvas);
  virtual ~CTVirtualCanvas() = default;

  IDrawSurface* DrawingCanvas() const { return v_canvas; }

  void SetOffsetX(double nOffset) { v_offsetX = nOffset; }
  double GetOffsetX() const { return v_offsetX; }
  void SetOffsetY(double nOffset) { v_offsetY = nOffset; }
  double GetOffsetY() const { return v_offsetY; }
  void SetScaleX(double nScale) { v_scaleX = nScale; }
  double GetScaleX() const { return v_scaleX; }
  void SetScaleY(double nScale) { v_scaleY = nScale; }
  double GetScaleY() const { return v_scaleY; }
  void SetScale(double nScale) { v_scaleX = v_scaleY = nScale; }
  void SetLabelScale(double nScale) { v_labelScale = nScale; }
  double GetLabelScale() const { return v_labelScale; }

  // The mapping of one coordinate, halves to even.
  int DeviceX(double nX) const;
  int DeviceY(double nY) const;

  // ---- attributes of the surface
  TColor VCPenColor() const { return v_canvas->Pen().color; }
  void SetVCPenColor(TColor c);
  PenMode VCPenMode() const { return v_canvas->Pen().mode; }
  void SetVCPenMode(PenMode m);
  double VCPenWidth() const { return v_canvas->Pen().width; }
  void SetVCPenWidth(double nWidth);  // rounded to whole pixels
  PenStyle VCPenStyle() const { return v_canvas->Pen().style; }
  void SetVCPenStyle(PenStyle s);
  TColor VCBrushColor() const { return v_canvas->Brush().color; }
  void SetVCBrushColor(TColor c);
  BrushStyle VCBrushStyle() const { return v_canvas->Brush().style; }
  void SetVCBrushStyle(BrushStyle s);
  QString VCTextFontName() const { return v_canvas->Font().name; }
  void SetVCTextFontName(const QString& szName);
  TColor VCTextColor() const { return v_canvas->Font().color; }
  void SetVCTextColor(TColor c);
  double VCTextSize() const { return v_canvas->Font().sizePt; }
  void SetVCTextSize(double nPoints);  // rounded to whole points
  unsigned VCTextStyle() const { return v_canvas->Font().style; }
  void SetVCTextStyle(unsigned nStyle);
  // Stored, saved and restored; the surfaces draw opaque.
  double VCLineOpacity() const { return v_lineOpacity; }
  void SetVCLineOpacity(double n) { v_lineOpacity = n; }
  double VCFillOpacity() const { return v_fillOpacity; }
  void SetVCFillOpacity(double n) { v_fillOpacity = n; }

  void SaveProperties();
  void RestoreProperties();

  // ---- drawing in virtual coordinates
  void MoveTo(double nX, double nY);
  void LineTo(double nX, double nY);
  void DrawRectangle(double nX1, double nY1, double nX2, double nY2);
  void DrawEllipse(double nX1, double nY1, double nX2, double nY2);
  // Corner diameters scale by the y scale, without offset; a nRndDiamY of
  // exactly -1 stands for nRndDiamX.
  void DrawRoundedRectangle(double nX1, double nY1, double nX2, double nY2, double nRndDiamX, double nRndDiamY);
  void DrawArc(double nX1, double nY1, double nX2, double nY2, double nX3, double nY3, double nX4, double nY4);
  // Markers of a fixed device size on a mapped point.
  void DrawSquareFixed(double nX, double nY, int nSizeDiv2);
  void DrawCrossFixed(double nX, double nY, int nArmSize);
  // Maps the first nCount points in place; the polygon and polyline calls
  // leave the caller's points in device coordinates.
  void ScalePoints(QVector<QPoint>& sPoints, int nCount) const;
  void DrawPolygon(QVector<QPoint>& sPoints, int nCount);
  void DrawPolyLine(QVector<QPoint>& sPoints, int nCount);
  // A smooth curve through the points (virtual integer coordinates).
  void DrawCurve(const QVector<QPoint>& sPoints, int nCount);
  // A picture into the rectangle at (nX, nY): nW x nH virtual units when
  // scaled, device pixels when not.
  void DrawGraphic(double nX, double nY, double nW, double nH, const QImage& pGraphic, bool bScaled);
  void TextOut(double nX, double nY, const QString& szStr);
  // Virtual units: the height of "A", the width of the text.
  double TextHeight() const;
  double TextWidth(const QString& szStr) const;
  bool ToPrinter() const { return v_canvas->IsPrinter(); }

 private:
  // One attribute of the surface changed, the others kept.
  template <typename F>
  void EditPen(F change) {
    LTPen pen = v_canvas->Pen();
    change(pen);
    v_canvas->SetPen(pen);
  }
  template <typename F>
  void EditBrush(F change) {
    LTBrush brush = v_canvas->Brush();
    change(brush);
    v_canvas->SetBrush(brush);
  }
  template <typename F>
  void EditFont(F change) {
    LTFont font = v_canvas->Font();
    change(font);
    v_canvas->SetFont(font);
  }

  IDrawSurface* v_canvas;
  double v_offsetX = 0, v_offsetY = 0;
  double v_scaleX = 1.0, v_scaleY = 1.0;
  double v_labelScale = 1.0;
  double v_lineOpacity = 1.0, v_fillOpacity = 1.0;
  // The saved attribute set.
  LTPen v_bupPen;
  LTBrush v_bupBrush;
  LTFont v_bupFont;
  double v_bupLineOpacity = 1.0, v_bupFillOpacity = 1.0;
};

// ---------------------------------------------------------------- paths

class LTVirtualPathNode;

class CTVirtualPath {
 public:
  CTVirtualPath();
  ~CTVirtualPath();
  CTVirtualPath(const CTVirtualPath&) = delete;
  CTVirtualPath& operator=(const CTVirtualPath&) = delete;

  void AddMoveTo(double nX, double nY, bool bRelative);
  void AddLineTo(double nX, double nY, bool bRelative);
  void AddHLineTo(double nX, bool bRelative);
  void AddVLineTo(double nY, bool bRelative);
  void AddCubicBezier(double nCp1X, double nCp1Y, double nCp2X, double nCp2Y, double nEpX, double nEpY,
                      bool bRelative);
  void AddCubicBezierNext(double nCpX, double nCpY, double nEpX, double nEpY, bool bRelative);
  void AddQuadraticBezier(double nCpX, double nCpY, double nEpX, double nEpY, bool bRelative);
  void AddQuadraticBezierNext(double nEpX, double nEpY, bool bRelative);
  void AddEllipticArc(double nRadiusX, double nRadiusY, double nXRotation, bool bLargeArcFlag, bool bSweepFlag,
                      double nEpX, double nEpY, bool bRelative);
  void AddClose(double nX, double nY);

  const std::vector<std::unique_ptr<LTVirtualPathNode>>& Nodes() const { return v_nodes; }
  // Draws the path with (nX, nY) added to every virtual coordinate.
  void DrawOn(CTVirtualCanvas& pCanv, double nX, double nY);

 private:
  std::vector<std::unique_ptr<LTVirtualPathNode>> v_nodes;
};

// One node: its end point, absolute or relative to the current point.
class LTVirtualPathNode {
 public:
  LTVirtualPathNode(double nX, double nY, bool bRelative) : v_x(nX), v_y(nY), v_relative(bRelative) {}
  virtual ~LTVirtualPathNode() = default;
  // Draws the segment from the current point (updated) at the origin.
  virtual void DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode* pPrevious, QPointF& current,
                           QPointF origin) = 0;

  double v_x, v_y;
  bool v_relative;

 protected:
  QPointF Target(const QPointF& current) const {
    return v_relative ? current + QPointF(v_x, v_y) : QPointF(v_x, v_y);
  }
};

class LTVirtualPathNodeMoveTo : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
};

class LTVirtualPathNodeLineTo : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
};

class LTVirtualPathNodeHLineTo : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
};

class LTVirtualPathNodeVLineTo : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
};

class LTVirtualPathNodeCubicBezier : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
  double v_cp1X = 0, v_cp1Y = 0, v_cp2X = 0, v_cp2Y = 0;
  double v_absCp2X = 0, v_absCp2Y = 0;  // written while drawing

 protected:
  virtual QPointF FirstControl(const LTVirtualPathNode* pPrevious, const QPointF& current) const;
};

class LTVirtualPathNodeCubicBezierNext : public LTVirtualPathNodeCubicBezier {
 public:
  using LTVirtualPathNodeCubicBezier::LTVirtualPathNodeCubicBezier;

 protected:
  QPointF FirstControl(const LTVirtualPathNode* pPrevious, const QPointF& current) const override;
};

class LTVirtualPathNodeQuadraticBezier : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
  double v_cpX = 0, v_cpY = 0;
  double v_absCpX = 0, v_absCpY = 0;  // written while drawing

 protected:
  virtual QPointF Control(const LTVirtualPathNode* pPrevious, const QPointF& current) const;
};

class LTVirtualPathNodeQuadraticBezierNext : public LTVirtualPathNodeQuadraticBezier {
 public:
  using LTVirtualPathNodeQuadraticBezier::LTVirtualPathNodeQuadraticBezier;

 protected:
  QPointF Control(const LTVirtualPathNode* pPrevious, const QPointF& current) const override;
};

class LTVirtualPathNodeEllipticArc : public LTVirtualPathNode {
 public:
  using LTVirtualPathNode::LTVirtualPathNode;
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
  double v_radiusX = 1.0, v_radiusY = 1.0;
  double v_xRotation = 0;  // degrees
  bool v_largeArcFlag = false, v_sweepFlag = false;
};

class LTVirtualPathNodeClose : public LTVirtualPathNode {
 public:
  LTVirtualPathNodeClose(double nX, double nY) : LTVirtualPathNode(nX, nY, false) {}
  void DrawSegment(CTVirtualCanvas&, const LTVirtualPathNode*, QPointF&, QPointF) override;
};
