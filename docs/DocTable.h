#pragma once
// CTDocTable: a format-neutral table that report code fills and the
// document writers render (RTF tables, worksheet rows). A grid of cells with
// title rows and title columns; every cell property has a "set" flag, and an
// unset property falls back to the table's default for title rows, then
// title columns, then ordinary cells. Cells outside the table never fail:
// setters grow the table (with auto-expand) or do nothing, getters answer
// the defaults.

#include "charts/DrawSurface.h"

#include <QByteArray>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

enum class DocHorAlign { kLeft, kRight, kCentre };
enum class DocVerAlign { kTop, kBottom, kCentre };
// Brush patterns of a cell background.
enum class DocPattern { kSolid, kClear, kHorizontal, kVertical, kFDiagonal, kBDiagonal, kCross, kDiagCross };

// Font styles as a bit set.
namespace DocStyle {
inline constexpr unsigned kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;
}

// Documents are laid out at 96 pixels per inch, whatever the screen.
inline constexpr int kDocumentDpi = 96;
// A font of a document in whole pixels at that resolution.
QFont DocumentFont(const QString& szName, double nPoints, unsigned nStyles);

// What one text line of a cell may carry of its own.
struct LTDocLineStyle {
  bool colorSet = false;
  TColor color = DrawColors::kWindowText;
  bool stylesSet = false;
  unsigned styles = 0;
};

// A picture in a document: its size in pixels, its enhanced-metafile bytes,
// which the RTF writer embeds, and its drawing on a painter (the PDF writer:
// vectors where the picture has them).
class CTDocGraphic {
 public:
  virtual ~CTDocGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual QByteArray Emf() const = 0;
  // Draws the picture scaled into target, in the painter's coordinates.
  virtual void Paint(QPainter& painter, const QRectF& target) const = 0;
};

class CTDocTableCell {
 public:
  CTDocTableCell() = default;
  // Back to the defaults (one empty line, nothing set).
  void Clear() { *this = CTDocTableCell(); }

  QStringList v_strings{QString()};
  std::vector<std::optional<LTDocLineStyle>> v_lineStyles{std::nullopt};  // one per line
  const void* v_data = nullptr;                             // the caller's, not owned
  QString v_formula;  // a spreadsheet formula ("=SUM(R[-3]C:R[-1]C)"), empty for none
  bool v_selected = false;
  unsigned v_styles = 0;
  bool v_stylesSet = false;
  DocHorAlign v_horAlign = DocHorAlign::kLeft;
  bool v_horAlignSet = false;
  DocVerAlign v_verAlign = DocVerAlign::kTop;
  bool v_verAlignSet = false;
  double v_fontSize = 10;
  bool v_fontSizeSet = false;
  TColor v_fontColor = DrawColors::kWindowText;
  bool v_fontColorSet = false;
  TColor v_bgColor1 = DrawColors::kWhite, v_bgColor2 = DrawColors::kWhite;
  bool v_bgColor1Set = false, v_bgColor2Set = false;
  DocPattern v_bgPattern = DocPattern::kSolid;
  bool v_bgPatternSet = false;
  std::shared_ptr<const CTDocGraphic> v_graphic;
  double v_graphicScale = 1.0;
  bool v_graphicAboveText = true;
  bool v_isMerged = false;
  int v_columnSpan = 1;
  int v_pixelWidth = 0, v_pixelHeight = 0;
  bool v_drawBrdr[4] = {true, true, true, true};  // left, top, right, bottom
  bool v_drawBrdrSet[4] = {false, false, false, false};
};

class CTDocTable {
 public:
  enum Side { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

  CTDocTable(int nNbColumns = 0, int nNbRows = 0, int nNbTitleColumns = 0, int nNbTitleRows = 0,
             bool bAutoExpand = true);
  void InitDimensions(int nNbColumns, int nNbRows, int nNbTitleColumns, int nNbTitleRows, bool bAutoExpand);
  // Every cell back to its defaults, sizes to 0; the dimensions stay.
  void ClearCells();
  void ClearSelection();

  // ---- dimensions
  int NbColumns() const { return v_nbColumns; }
  int NbRows() const { return static_cast<int>(v_rows.size()); }
  int NbTitleColumns() const { return v_nbTitleColumns; }
  int NbTitleRows() const { return v_nbTitleRows; }
  void SetNbColumns(int n);
  void SetNbRows(int n);
  void SetNbTitleColumns(int n);
  void SetNbTitleRows(int n);
  bool AutoExpand() const { return v_autoExpand; }
  void SetAutoExpand(bool b) { v_autoExpand = b; }

  // ---- table-wide settings
  QString v_fontName = QStringLiteral("Arial");
  bool v_hasTableBorders = true, v_hasHorzTitleBorders = true, v_hasVertTitleBorders = true,
       v_suppressTitleBordersAboveEmptyCells = true, v_hasHorzCellBorders = true, v_hasVertCellBorders = true;
  void SetAllHasBorders(bool b);
  TColor v_tableBorderColor = 0, v_titleBorderColor = 0x808080, v_cellBorderColor = 0x808080;
  TColor v_selectedColorMask = 0xBBBBBB;
  TColor v_buttonEdgeColor1 = 0xC0C0C0, v_buttonEdgeColor2 = 0xA4A0A0;
  // Defaults: [0] title rows, [1] title columns, [2] cells.
  enum Kind { kTitleRow = 0, kTitleColumn = 1, kCell = 2 };
  double v_defFontSize[3] = {10, 10, 10};
  TColor v_defBgColor[3] = {0xE0E0E0, 0xE0E0E0, DrawColors::kWhite};
  TColor v_defFontColor[3] = {DrawColors::kWindowText, DrawColors::kWindowText, DrawColors::kWindowText};
  unsigned v_defStyles[3] = {0, 0, 0};
  DocHorAlign v_defHorAlign[3] = {DocHorAlign::kLeft, DocHorAlign::kLeft, DocHorAlign::kLeft};
  DocVerAlign v_defVerAlign[3] = {DocVerAlign::kTop, DocVerAlign::kTop, DocVerAlign::kTop};
  void SetAllDefaultFontSize(double nSize);

  // ---- cells
  void SetText(int nColumn, int nRow, const QString& szText);
  void SetText(int nColumn, int nRow, const QString& szText, unsigned nStyles);
  QString GetText(int nColumn, int nRow) const;
  void SetStrings(int nColumn, int nRow, const QStringList& lines);
  QStringList GetStrings(int nColumn, int nRow) const;
  // A line's own colour and styles (the line must exist).
  void SetLineStyle(int nColumn, int nRow, int nLine, const LTDocLineStyle& style);
  std::optional<LTDocLineStyle> GetLineStyle(int nColumn, int nRow, int nLine) const;
  // A formula the spreadsheet writer puts in the cell (right-aligned cells).
  void SetFormula(int nColumn, int nRow, const QString& szFormula);
  QString GetFormula(int nColumn, int nRow) const;
  void SetData(int nColumn, int nRow, const void* pData);
  const void* GetData(int nColumn, int nRow) const;
  void SetIsSelected(int nColumn, int nRow, bool b);
  bool GetIsSelected(int nColumn, int nRow) const;
  void SetFontSize(int nColumn, int nRow, double nSize);
  double GetFontSize(int nColumn, int nRow) const;
  void SetFontColor(int nColumn, int nRow, TColor color);
  TColor GetFontColor(int nColumn, int nRow) const;
  void SetBgColor(int nColumn, int nRow, TColor color);
  TColor GetBgColor(int nColumn, int nRow) const;
  void SetBgColor2(int nColumn, int nRow, TColor color);
  TColor GetBgColor2(int nColumn, int nRow) const;
  void SetBgPattern(int nColumn, int nRow, DocPattern pattern);
  DocPattern GetBgPattern(int nColumn, int nRow) const;
  void SetStyles(int nColumn, int nRow, unsigned nStyles);
  unsigned GetStyles(int nColumn, int nRow) const;
  void SetHorAlign(int nColumn, int nRow, DocHorAlign align);
  DocHorAlign GetHorAlign(int nColumn, int nRow) const;
  void SetVerAlign(int nColumn, int nRow, DocVerAlign align);
  DocVerAlign GetVerAlign(int nColumn, int nRow) const;
  void SetDrawBorder(int nColumn, int nRow, Side side, bool bDraw);
  bool GetIsMerged(int nColumn, int nRow) const;
  void SetGraphic(int nColumn, int nRow, std::shared_ptr<const CTDocGraphic> pGraphic, double nScale = 1.0,
                  bool bAboveText = true);
  bool GetGraphic(int nColumn, int nRow, std::shared_ptr<const CTDocGraphic>& pGraphic, double& nScale,
                  bool* pAboveText = nullptr) const;
  // -1: to the end of the row. The span is cut to the columns that exist.
  void SetColumnSpan(int nColumn, int nRow, int nColumnSpan);
  int GetColumnSpan(int nColumn, int nRow);
  int GetCellWidth(int nColumn, int nRow);
  // Whether a side of a cell has a border, and its colour.
  bool HasBorder(int nColumn, int nRow, Side side, TColor& color) const;

  // ---- whole rows and columns (an index outside the table does nothing)
  void SetFontSizeForRow(int nRow, double nSize);
  void SetFontSizeForColumn(int nColumn, double nSize);
  void SetFontColorForRow(int nRow, TColor color);
  void SetFontColorForColumn(int nColumn, TColor color);
  void SetBgColorForRow(int nRow, TColor color);
  void SetBgColorForColumn(int nColumn, TColor color);
  void SetStylesForRow(int nRow, unsigned nStyles);
  void SetStylesForColumn(int nColumn, unsigned nStyles);
  void SetHorAlignForRow(int nRow, DocHorAlign align);
  void SetHorAlignForColumn(int nColumn, DocHorAlign align);
  void SetVerAlignForRow(int nRow, DocVerAlign align);
  void SetVerAlignForColumn(int nColumn, DocVerAlign align);
  void SetStylesForTitleRows(unsigned nStyles);
  void SetStylesForTitleColumns(unsigned nStyles);
  void SetBgColorForTitleRows(TColor color);
  void SetBgColorForTitleColumns(TColor color);

  // ---- sizes in pixels
  void SetColumnWidth(int nColumn, int nPixels);
  int GetColumnWidth(int nColumn);
  void SetRowHeight(int nRow, int nPixels);
  int GetRowHeight(int nRow);
  int TotalPixelWidth() const;
  int TotalPixelHeight() const;
  int CellPixelWidth(int nColumn, int nRow) const;
  int CellPixelHeight(int nColumn, int nRow) const;
  // Measures every cell with the table font at 96 ppi (needs a GUI
  // application for the font metrics).
  void CalculatePixelSizes(int nApplExtraWidth = 0);

 private:
  // The cell, after growing the table to hold it where allowed; none outside.
  CTDocTableCell* Ensure(int nColumn, int nRow);
  const CTDocTableCell* Cell(int nColumn, int nRow) const;
  Kind KindOf(int nColumn, int nRow) const;
  template <typename F>
  void ForRow(int nRow, F&& fn);
  template <typename F>
  void ForColumn(int nColumn, F&& fn);

  struct Row {
    std::vector<std::unique_ptr<CTDocTableCell>> cells;
    int pixelHeight = 0;
  };
  std::vector<Row> v_rows;
  std::vector<int> v_columnWidths;
  int v_nbColumns = 0;
  int v_nbTitleColumns = 0;
  int v_nbTitleRows = 0;
  bool v_autoExpand = true;
};
