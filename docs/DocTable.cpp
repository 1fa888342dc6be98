#include "docs/DocTable.h"

#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

QFont DocumentFont(const QString& szName, double nPoints, unsigned nStyles) {
  QFont f(szName);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(nPoints * kDocumentDpi / 72.0))));
  f.setBold(nStyles & DocStyle::kBold);
  f.setItalic(nStyles & DocStyle::kItalic);
  f.setUnderline(nStyles & DocStyle::kUnderline);
  f.setStrikeOut(nStyles & DocStyle::kStrikeOut);
  return f;
}

// ---------------------------------------------------------------- dimensions

CTDocTable::CTDocTable(int nNbColumns, int nNbRows, int nNbTitleColumns, int nNbTitleRows, bool bAutoExpand) {
  InitDimensions(nNbColumns, nNbRows, nNbTitleColumns, nNbTitleRows, bAutoExpand);
}

void CTDocTable::InitDimensions(int nNbColumns, int nNbRows, int nNbTitleColumns, int nNbTitleRows, bool bAutoExpand) {
  SetNbColumns(nNbColumns);
  SetNbRows(nNbRows);
  SetNbTitleColumns(nNbTitleColumns);
  SetNbTitleRows(nNbTitleRows);
  v_autoExpand = bAutoExpand;
  ClearCells();
}

void CTDocTable::SetNbColumns(int n) {
  n = std::max(1, n);
  for (Row& row : v_rows) {
    row.cells.resize(static_cast<std::size_t>(n));
    for (auto& cell : row.cells)
      if (!cell) cell = std::make_unique<CTDocTableCell>();
  }
  v_columnWidths.resize(static_cast<std::size_t>(n), 0);
  v_nbColumns = n;
  v_nbTitleColumns = std::min(v_nbTitleColumns, n);
}

void CTDocTable::SetNbRows(int n) {
  n = std::max(1, n);
  const std::size_t before = v_rows.size();
  v_rows.resize(static_cast<std::size_t>(n));
  for (std::size_t r = before; r < v_rows.size(); ++r) {
    v_rows[r].cells.resize(static_cast<std::size_t>(std::max(1, v_nbColumns)));
    for (auto& cell : v_rows[r].cells) cell = std::make_unique<CTDocTableCell>();
  }
  if (v_nbColumns == 0) SetNbColumns(1);
  v_nbTitleRows = std::min(v_nbTitleRows, n);
}

void CTDocTable::SetNbTitleColumns(int n) { v_nbTitleColumns = std::clamp(n, 0, v_nbColumns); }
void CTDocTable::SetNbTitleRows(int n) { v_nbTitleRows = std::clamp(n, 0, NbRows()); }

void CTDocTable::ClearCells() {
  for (Row& row : v_rows) {
    row.pixelHeight = 0;
    for (auto& cell : row.cells) cell->Clear();
  }
  std::fill(v_columnWidths.begin(), v_columnWidths.end(), 0);
}

void CTDocTable::ClearSelection() {
  for (Row& row : v_rows)
    for (auto& cell : row.cells) cell->v_selected = false;
}

void CTDocTable::SetAllHasBorders(bool b) {
  v_hasTableBorders = v_hasHorzTitleBorders = v_hasVertTitleBorders = v_suppressTitleBordersAboveEmptyCells =
      v_hasHorzCellBorders = v_hasVertCellBorders = b;
}

void CTDocTable::SetAllDefaultFontSize(double nSize) { std::fill(std::begin(v_defFontSize), std::end(v_defFontSize), nSize); }

CTDocTableCell* CTDocTable::Ensure(int nColumn, int nRow) {
  if (nColumn < 0 || nRow < 0) return nullptr;
  if (v_autoExpand) {
    if (nColumn >= v_nbColumns) SetNbColumns(nColumn + 1);
    if (nRow >= NbRows()) SetNbRows(nRow + 1);
  }
  return const_cast<CTDocTableCell*>(Cell(nColumn, nRow));
}

const CTDocTableCell* CTDocTable::Cell(int nColumn, int nRow) const {
  if (nColumn < 0 || nRow < 0 || nColumn >= v_nbColumns || nRow >= NbRows()) return nullptr;
  return v_rows[static_cast<std::size_t>(nRow)].cells[static_cast<std::size_t>(nColumn)].get();
}

CTDocTable::Kind CTDocTable::KindOf(int nColumn, int nRow) const {
  if (nRow < v_nbTitleRows) return kTitleRow;
  if (nColumn < v_nbTitleColumns) return kTitleColumn;
  return kCell;
}

// ---------------------------------------------------------------- text

void CTDocTable::SetText(int nColumn, int nRow, const QString& szText) {
  CTDocTableCell* cell = Ensure(nColumn, nRow);
  if (!cell) return;
  QString text = szText;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  cell->v_strings = text.split(QLatin1Char('\n'));
  cell->v_lineStyles.assign(static_cast<std::size_t>(cell->v_strings.size()), std::nullopt);
}

void CTDocTable::SetText(int nColumn, int nRow, const QString& szText, unsigned nStyles) {
  SetText(nColumn, nRow, szText);
  SetStyles(nColumn, nRow, nStyles);
}

QString CTDocTable::GetText(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell ? cell->v_strings.join(QStringLiteral("\r\n")) : QString();
}

void CTDocTable::SetStrings(int nColumn, int nRow, const QStringList& lines) {
  CTDocTableCell* cell = Ensure(nColumn, nRow);
  if (!cell) return;
  cell->v_strings = lines.isEmpty() ? QStringList{QString()} : lines;
  cell->v_lineStyles.assign(static_cast<std::size_t>(cell->v_strings.size()), std::nullopt);
}

QStringList CTDocTable::GetStrings(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell ? cell->v_strings : QStringList();
}

void CTDocTable::SetLineStyle(int nColumn, int nRow, int nLine, const LTDocLineStyle& style) {
  CTDocTableCell* cell = Ensure(nColumn, nRow);
  if (!cell || nLine < 0 || nLine >= cell->v_strings.size()) return;
  cell->v_lineStyles[static_cast<std::size_t>(nLine)] = style;
}

std::optional<LTDocLineStyle> CTDocTable::GetLineStyle(int nColumn, int nRow, int nLine) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  if (!cell || nLine < 0 || nLine >= static_cast<int>(cell->v_lineStyles.size())) return std::nullopt;
  return cell->v_lineStyles[static_cast<std::size_t>(nLine)];
}

// ---------------------------------------------------------------- properties

void CTDocTable::SetFormula(int nColumn, int nRow, const QString& szFormula) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) cell->v_formula = szFormula;
}
QString CTDocTable::GetFormula(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell ? cell->v_formula : QString();
}

void CTDocTable::SetData(int nColumn, int nRow, const void* pData) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) cell->v_data = pData;
}
const void* CTDocTable::GetData(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell ? cell->v_data : nullptr;
}
void CTDocTable::SetIsSelected(int nColumn, int nRow, bool b) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) cell->v_selected = b;
}
bool CTDocTable::GetIsSelected(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell && cell->v_selected;
}

// A property of a cell: its own when set, else the default of its kind.
#define AEROLITH_DOC_PROPERTY(Name, Type, field, defaults)                        \
  void CTDocTable::Set##Name(int nColumn, int nRow, Type value) {                  \
    if (CTDocTableCell* cell = Ensure(nColumn, nRow)) {                            \
      cell->field = value;                                                         \
      cell->field##Set = true;                                                     \
    }                                                                              \
  }                                                                                \
  Type CTDocTable::Get##Name(int nColumn, int nRow) const {                        \
    const CTDocTableCell* cell = Cell(nColumn, nRow);                              \
    if (!cell) return defaults[kCell];                                             \
    return cell->field##Set ? cell->field : defaults[KindOf(nColumn, nRow)];       \
  }

AEROLITH_DOC_PROPERTY(FontSize, double, v_fontSize, v_defFontSize)
AEROLITH_DOC_PROPERTY(FontColor, TColor, v_fontColor, v_defFontColor)
AEROLITH_DOC_PROPERTY(BgColor, TColor, v_bgColor1, v_defBgColor)
AEROLITH_DOC_PROPERTY(Styles, unsigned, v_styles, v_defStyles)
AEROLITH_DOC_PROPERTY(HorAlign, DocHorAlign, v_horAlign, v_defHorAlign)
AEROLITH_DOC_PROPERTY(VerAlign, DocVerAlign, v_verAlign, v_defVerAlign)
#undef AEROLITH_DOC_PROPERTY

void CTDocTable::SetBgColor2(int nColumn, int nRow, TColor color) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) {
    cell->v_bgColor2 = color;
    cell->v_bgColor2Set = true;
  }
}
TColor CTDocTable::GetBgColor2(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell && cell->v_bgColor2Set ? cell->v_bgColor2 : GetBgColor(nColumn, nRow);
}
void CTDocTable::SetBgPattern(int nColumn, int nRow, DocPattern pattern) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) {
    cell->v_bgPattern = pattern;
    cell->v_bgPatternSet = true;
  }
}
DocPattern CTDocTable::GetBgPattern(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell && cell->v_bgPatternSet ? cell->v_bgPattern : DocPattern::kSolid;
}

void CTDocTable::SetDrawBorder(int nColumn, int nRow, Side side, bool bDraw) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) {
    cell->v_drawBrdr[side] = bDraw;
    cell->v_drawBrdrSet[side] = true;
  }
}

bool CTDocTable::GetIsMerged(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell && cell->v_isMerged;
}

void CTDocTable::SetGraphic(int nColumn, int nRow, std::shared_ptr<const CTDocGraphic> pGraphic, double nScale,
                            bool bAboveText) {
  if (CTDocTableCell* cell = Ensure(nColumn, nRow)) {
    cell->v_graphic = std::move(pGraphic);
    cell->v_graphicScale = nScale;
    cell->v_graphicAboveText = bAboveText;
  }
}

bool CTDocTable::GetGraphic(int nColumn, int nRow, std::shared_ptr<const CTDocGraphic>& pGraphic, double& nScale,
                            bool* pAboveText) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  pGraphic = cell ? cell->v_graphic : nullptr;
  nScale = cell ? cell->v_graphicScale : 1.0;
  if (pAboveText) *pAboveText = cell ? cell->v_graphicAboveText : true;
  return pGraphic != nullptr;
}

// ---------------------------------------------------------------- spans

void CTDocTable::SetColumnSpan(int nColumn, int nRow, int nColumnSpan) {
  if (!Ensure(nColumn, nRow)) return;
  if (nColumnSpan != -1 && nColumnSpan > 1) Ensure(nColumn + nColumnSpan - 1, nRow);
  const int available = v_nbColumns - nColumn;
  const int span = nColumnSpan == -1 ? available : std::clamp(nColumnSpan, 1, available);
  auto& cells = v_rows[static_cast<std::size_t>(nRow)].cells;
  cells[static_cast<std::size_t>(nColumn)]->v_columnSpan = span;
  for (int c = nColumn + 1; c < nColumn + span; ++c) {
    cells[static_cast<std::size_t>(c)]->v_columnSpan = 1;
    cells[static_cast<std::size_t>(c)]->v_isMerged = true;
  }
}

int CTDocTable::GetColumnSpan(int nColumn, int nRow) {
  CTDocTableCell* cell = const_cast<CTDocTableCell*>(Cell(nColumn, nRow));
  if (!cell) return 1;
  cell->v_columnSpan = std::clamp(cell->v_columnSpan, 1, v_nbColumns - nColumn);
  return cell->v_columnSpan;
}

int CTDocTable::GetCellWidth(int nColumn, int nRow) {
  if (!Cell(nColumn, nRow) || GetIsMerged(nColumn, nRow)) return 0;
  int width = 0;
  for (int c = nColumn; c < nColumn + GetColumnSpan(nColumn, nRow); ++c) width += v_columnWidths[static_cast<std::size_t>(c)];
  return width;
}

// ---------------------------------------------------------------- borders

bool CTDocTable::HasBorder(int nColumn, int nRow, Side side, TColor& color) const {
  color = v_defBgColor[kCell];
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  if (!cell) return false;
  bool border = false;
  const bool titleRow = nRow < v_nbTitleRows;
  switch (side) {
    case kLeft:
      if (nColumn == 0 && v_hasTableBorders) border = true, color = v_tableBorderColor;
      break;
    case kTop:
      if (nRow == 0 && v_hasTableBorders) border = true, color = v_tableBorderColor;
      break;
    case kRight: {
      if (!v_hasTableBorders && !v_hasVertTitleBorders && !v_hasVertCellBorders) break;
      const int last = nColumn + std::clamp(cell->v_columnSpan, 1, v_nbColumns - nColumn) - 1;
      if (last == v_nbColumns - 1) {
        if (v_hasTableBorders) border = true, color = v_tableBorderColor;
      } else if (last < v_nbTitleColumns || titleRow) {
        if (v_hasVertTitleBorders) border = true, color = v_titleBorderColor;
      } else if (v_hasVertCellBorders) {
        border = true, color = v_cellBorderColor;
      }
      break;
    }
    case kBottom: {
      if (!v_hasTableBorders && !v_hasHorzTitleBorders && !v_hasHorzCellBorders) break;
      if (nRow == NbRows() - 1) {
        if (v_hasTableBorders) border = true, color = v_tableBorderColor;
      } else if (titleRow) {
        const bool lastTitleRow = nRow == v_nbTitleRows - 1;
        const bool textBelow = !GetText(nColumn, nRow + 1).isEmpty();
        if (v_hasHorzTitleBorders && (!v_suppressTitleBordersAboveEmptyCells || lastTitleRow || textBelow))
          border = true, color = v_titleBorderColor;
      } else if (nColumn < v_nbTitleColumns) {
        if (v_hasHorzTitleBorders) border = true, color = v_titleBorderColor;
      } else if (v_hasHorzCellBorders) {
        border = true, color = v_cellBorderColor;
      }
      break;
    }
  }
  return cell->v_drawBrdrSet[side] ? cell->v_drawBrdr[side] : border;
}

// ---------------------------------------------------------------- rows and columns

template <typename F>
void CTDocTable::ForRow(int nRow, F&& fn) {
  if (nRow < 0 || nRow >= NbRows()) return;
  for (int c = 0; c < v_nbColumns; ++c) fn(c, nRow);
}

template <typename F>
void CTDocTable::ForColumn(int nColumn, F&& fn) {
  if (nColumn < 0 || nColumn >= v_nbColumns) return;
  for (int r = 0; r < NbRows(); ++r) fn(nColumn, r);
}

void CTDocTable::SetFontSizeForRow(int nRow, double n) { ForRow(nRow, [&](int c, int r) { SetFontSize(c, r, n); }); }
void CTDocTable::SetFontSizeForColumn(int nColumn, double n) {
  ForColumn(nColumn, [&](int c, int r) { SetFontSize(c, r, n); });
}
void CTDocTable::SetFontColorForRow(int nRow, TColor v) { ForRow(nRow, [&](int c, int r) { SetFontColor(c, r, v); }); }
void CTDocTable::SetFontColorForColumn(int nColumn, TColor v) {
  ForColumn(nColumn, [&](int c, int r) { SetFontColor(c, r, v); });
}
void CTDocTable::SetBgColorForRow(int nRow, TColor v) { ForRow(nRow, [&](int c, int r) { SetBgColor(c, r, v); }); }
void CTDocTable::SetBgColorForColumn(int nColumn, TColor v) {
  ForColumn(nColumn, [&](int c, int r) { SetBgColor(c, r, v); });
}
void CTDocTable::SetStylesForRow(int nRow, unsigned v) { ForRow(nRow, [&](int c, int r) { SetStyles(c, r, v); }); }
void CTDocTable::SetStylesForColumn(int nColumn, unsigned v) {
  ForColumn(nColumn, [&](int c, int r) { SetStyles(c, r, v); });
}
void CTDocTable::SetHorAlignForRow(int nRow, DocHorAlign v) { ForRow(nRow, [&](int c, int r) { SetHorAlign(c, r, v); }); }
void CTDocTable::SetHorAlignForColumn(int nColumn, DocHorAlign v) {
  ForColumn(nColumn, [&](int c, int r) { SetHorAlign(c, r, v); });
}
void CTDocTable::SetVerAlignForRow(int nRow, DocVerAlign v) { ForRow(nRow, [&](int c, int r) { SetVerAlign(c, r, v); }); }
void CTDocTable::SetVerAlignForColumn(int nColumn, DocVerAlign v) {
  ForColumn(nColumn, [&](int c, int r) { SetVerAlign(c, r, v); });
}
void CTDocTable::SetStylesForTitleRows(unsigned v) {
  for (int r = 0; r < v_nbTitleRows; ++r) SetStylesForRow(r, v);
}
void CTDocTable::SetStylesForTitleColumns(unsigned v) {
  for (int c = 0; c < v_nbTitleColumns; ++c) SetStylesForColumn(c, v);
}
void CTDocTable::SetBgColorForTitleRows(TColor v) {
  for (int r = 0; r < v_nbTitleRows; ++r) SetBgColorForRow(r, v);
}
void CTDocTable::SetBgColorForTitleColumns(TColor v) {
  for (int c = 0; c < v_nbTitleColumns; ++c) SetBgColorForColumn(c, v);
}

// ---------------------------------------------------------------- sizes

void CTDocTable::SetColumnWidth(int nColumn, int nPixels) {
  if (Ensure(nColumn, 0)) v_columnWidths[static_cast<std::size_t>(nColumn)] = std::max(0, nPixels);
}
int CTDocTable::GetColumnWidth(int nColumn) {
  return Ensure(nColumn, 0) ? v_columnWidths[static_cast<std::size_t>(nColumn)] : 0;
}
void CTDocTable::SetRowHeight(int nRow, int nPixels) {
  if (Ensure(0, nRow)) v_rows[static_cast<std::size_t>(nRow)].pixelHeight = std::max(0, nPixels);
}
int CTDocTable::GetRowHeight(int nRow) { return Ensure(0, nRow) ? v_rows[static_cast<std::size_t>(nRow)].pixelHeight : 0; }
int CTDocTable::TotalPixelWidth() const {
  int total = 0;
  for (int w : v_columnWidths) total += w;
  return total;
}
int CTDocTable::TotalPixelHeight() const {
  int total = 0;
  for (const Row& row : v_rows) total += row.pixelHeight;
  return total;
}
int CTDocTable::CellPixelWidth(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell ? cell->v_pixelWidth : 0;
}
int CTDocTable::CellPixelHeight(int nColumn, int nRow) const {
  const CTDocTableCell* cell = Cell(nColumn, nRow);
  return cell ? cell->v_pixelHeight : 0;
}

void CTDocTable::CalculatePixelSizes(int nApplExtraWidth) {
  for (Row& row : v_rows) {
    row.pixelHeight = 0;
    for (auto& cell : row.cells) cell->v_pixelWidth = cell->v_pixelHeight = 0;
  }
  std::fill(v_columnWidths.begin(), v_columnWidths.end(), 0);

  const auto font = [this](double nPoints, unsigned nStyles) { return DocumentFont(v_fontName, nPoints, nStyles); };
  const QFontMetrics base(font(v_defFontSize[kCell], 0));
  const int d1 = base.horizontalAdvance(QLatin1Char('1'));
  const int pad = base.horizontalAdvance(QLatin1Char('W')) + 2;
  const int minHeight = base.height() + 2;
  for (Row& row : v_rows) row.pixelHeight = minHeight;

  const auto measure = [&](int c, int r) {
    CTDocTableCell& cell = *v_rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)];
    const double size = GetFontSize(c, r);
    const unsigned styles = GetStyles(c, r);
    const QFontMetrics metrics(font(size, styles));
    int height = static_cast<int>(cell.v_strings.size()) * metrics.height() + 2;
    int width = 0;
    for (int i = 0; i < cell.v_strings.size(); ++i) {
      const auto& own = cell.v_lineStyles[static_cast<std::size_t>(i)];
      const QFontMetrics line = own && own->stylesSet ? QFontMetrics(font(size, own->styles)) : metrics;
      width = std::max(width, line.horizontalAdvance(cell.v_strings[i]));
    }
    if (cell.v_graphic) {
      const bool hasText = cell.v_strings.size() > 1 || !cell.v_strings.value(0).isEmpty();
      const int pictureHeight = static_cast<int>(std::lround(cell.v_graphic->Height() * cell.v_graphicScale));
      if (hasText) height += pictureHeight;
      else height = std::max(height, cell.v_graphic->Height() + 4);
      width = std::max(width, static_cast<int>(std::lround(cell.v_graphic->Width() * cell.v_graphicScale)));
    }
    if (GetHorAlign(c, r) == DocHorAlign::kRight) width += d1;
    width += pad + nApplExtraWidth;
    cell.v_pixelWidth = width;
    cell.v_pixelHeight = height;
    Row& row = v_rows[static_cast<std::size_t>(r)];
    row.pixelHeight = std::max(row.pixelHeight, height);
  };
  for (int r = 0; r < NbRows(); ++r)
    for (int c = 0; c < v_nbColumns; ++c) {
      if (GetIsMerged(c, r) || GetColumnSpan(c, r) != 1) continue;
      measure(c, r);
      int& columnWidth = v_columnWidths[static_cast<std::size_t>(c)];
      columnWidth = std::max(columnWidth, CellPixelWidth(c, r));
    }
  for (int r = 0; r < NbRows(); ++r)
    for (int c = 0; c < v_nbColumns; ++c) {
      const int span = GetColumnSpan(c, r);
      if (GetIsMerged(c, r) || span <= 1) continue;
      measure(c, r);
      int others = 0;
      for (int k = c + 1; k < c + span; ++k) others += v_columnWidths[static_cast<std::size_t>(k)];
      int& first = v_columnWidths[static_cast<std::size_t>(c)];
      first = std::max(first, CellPixelWidth(c, r) - others);
    }
}
