// The document table: defaults by title row, title column and cell, growth,
// text lines, spans, borders and measuring.

#include "docs/DocTable.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

constexpr TColor kRed = 0x0000FF;

class Picture : public CTDocGraphic {
 public:
  Picture(int w, int h) : v_w(w), v_h(h) {}
  int Width() const override { return v_w; }
  int Height() const override { return v_h; }
  QByteArray Emf() const override { return {}; }
  void Paint(QPainter&, const QRectF&) const override {}

 private:
  int v_w, v_h;
};

}  // namespace

TEST(DocTable, PropertiesFallBackToTitleRowsThenTitleColumnsThenCells) {
  CTDocTable table(3, 3, 1, 1);
  EXPECT_EQ(table.GetBgColor(0, 0), 0xE0E0E0u);  // title row and column
  EXPECT_EQ(table.GetBgColor(1, 0), 0xE0E0E0u);  // title row
  EXPECT_EQ(table.GetBgColor(0, 1), 0xE0E0E0u);  // title column
  EXPECT_EQ(table.GetBgColor(1, 1), 0xFFFFFFu);
  table.v_defStyles[CTDocTable::kTitleRow] = DocStyle::kBold;
  table.v_defStyles[CTDocTable::kTitleColumn] = DocStyle::kItalic;
  EXPECT_EQ(table.GetStyles(0, 0), DocStyle::kBold);  // title rows win
  EXPECT_EQ(table.GetStyles(0, 2), DocStyle::kItalic);
  table.SetBgColor(0, 0, kRed);
  EXPECT_EQ(table.GetBgColor(0, 0), kRed);
  EXPECT_EQ(table.GetBgColor2(0, 0), kRed);  // the second colour follows the first
  EXPECT_EQ(table.GetBgPattern(0, 0), DocPattern::kSolid);
  // Outside the table: the cell defaults, and no growth.
  EXPECT_EQ(table.GetFontSize(10, 10), 10);
  EXPECT_EQ(table.GetColumnSpan(10, 0), 1);
  EXPECT_EQ(table.NbColumns(), 3);
}

TEST(DocTable, SettersGrowTheTableOnlyWithAutoExpand) {
  CTDocTable grows(3, 2);
  grows.SetText(5, 0, "x");
  EXPECT_EQ(grows.NbColumns(), 6);
  EXPECT_EQ(grows.GetText(5, 0), "x");
  EXPECT_EQ(grows.GetText(5, 1), "");  // the new cells exist in every row
  CTDocTable fixed(3, 2, 0, 0, false);
  fixed.SetText(5, 0, "x");
  fixed.SetText(-1, 0, "x");
  EXPECT_EQ(fixed.NbColumns(), 3);
  // Shrinking below the titles lowers them.
  CTDocTable titles(4, 4, 2, 3);
  titles.SetNbRows(2);
  EXPECT_EQ(titles.NbTitleRows(), 2);
  titles.SetNbColumns(0);
  EXPECT_EQ(titles.NbColumns(), 1);
  EXPECT_EQ(titles.NbTitleColumns(), 1);
}

TEST(DocTable, TextIsSplitIntoLinesAndJoinedWithCrLf) {
  CTDocTable table(1, 1);
  table.SetText(0, 0, "one\rtwo\r\nthree\nfour");
  EXPECT_EQ(table.GetStrings(0, 0), (QStringList{"one", "two", "three", "four"}));
  EXPECT_EQ(table.GetText(0, 0), "one\r\ntwo\r\nthree\r\nfour");
  table.SetStrings(0, 0, {});
  EXPECT_EQ(table.GetStrings(0, 0), QStringList{QString()});
}

TEST(DocTable, SpansMergeTheFollowingCells) {
  CTDocTable table(4, 1);
  for (int c = 0; c < 4; ++c) table.SetColumnWidth(c, 10 * (c + 1));
  table.SetColumnSpan(1, 0, -1);
  EXPECT_EQ(table.GetColumnSpan(1, 0), 3);
  EXPECT_TRUE(table.GetIsMerged(2, 0));
  EXPECT_TRUE(table.GetIsMerged(3, 0));
  EXPECT_EQ(table.GetCellWidth(2, 0), 0);
  EXPECT_EQ(table.GetCellWidth(1, 0), 20 + 30 + 40);
  // A span past the end grows the table with auto-expand.
  table.SetColumnSpan(0, 0, 6);
  EXPECT_EQ(table.NbColumns(), 6);
  EXPECT_EQ(table.GetColumnSpan(0, 0), 6);
  CTDocTable fixed(4, 1, 0, 0, false);
  fixed.SetColumnSpan(2, 0, 5);
  EXPECT_EQ(fixed.GetColumnSpan(2, 0), 2);
}

TEST(DocTable, BordersByPlaceAndCellOverrides) {
  CTDocTable table(3, 4, 1, 2);
  table.SetText(1, 2, "below");
  TColor color = 0;
  struct Case {
    int column, row;
    CTDocTable::Side side;
    bool border;
    TColor color;
  };
  using T = CTDocTable;
  for (const Case& c : {
           Case{0, 0, T::kLeft, true, 0},            // the table's left edge
           Case{1, 1, T::kLeft, false, 0xFFFFFF},    // inner lines belong to the left cell
           Case{1, 0, T::kTop, true, 0},             // the table's top edge
           Case{2, 1, T::kRight, true, 0},           // the table's right edge
           Case{0, 3, T::kRight, true, 0x808080},    // title column: title border
           Case{1, 3, T::kRight, true, 0x808080},    // ordinary cell: cell border
           Case{0, 0, T::kBottom, false, 0xFFFFFF},  // title row above an empty cell
           Case{1, 1, T::kBottom, true, 0x808080},   // the last title row
           Case{1, 3, T::kBottom, true, 0},          // the last row: table border
       }) {
    EXPECT_EQ(table.HasBorder(c.column, c.row, c.side, color), c.border) << c.column << "," << c.row << " " << c.side;
    EXPECT_EQ(color, c.color) << c.column << "," << c.row << " " << c.side;
  }
  // A title row above text gets its border.
  table.SetText(1, 1, "x");
  EXPECT_TRUE(table.HasBorder(1, 0, T::kBottom, color));
  // The cell's own flag wins; the colour stays the table's choice.
  table.SetDrawBorder(2, 1, T::kRight, false);
  EXPECT_FALSE(table.HasBorder(2, 1, T::kRight, color));
  EXPECT_EQ(color, 0u);
  EXPECT_FALSE(table.HasBorder(7, 7, T::kTop, color));
}

TEST(DocTable, MeasuringTakesTheWidestLineAndPictures) {
  CTDocTable table(2, 2);
  table.SetText(0, 0, "a\nmuch longer line");
  table.SetGraphic(1, 1, std::make_shared<Picture>(100, 50), 0.5);
  table.SetText(1, 0, "x");
  table.SetHorAlign(1, 0, DocHorAlign::kRight);
  table.CalculatePixelSizes();
  QFont font("Arial");
  font.setPixelSize(13);  // 10 pt at 96 ppi
  const QFontMetrics m(font);
  const int pad = m.horizontalAdvance('W') + 2;
  EXPECT_EQ(table.CellPixelWidth(0, 0), m.horizontalAdvance("much longer line") + pad);
  EXPECT_EQ(table.CellPixelHeight(0, 0), 2 * m.height() + 2);
  EXPECT_EQ(table.CellPixelWidth(1, 0), m.horizontalAdvance('x') + m.horizontalAdvance('1') + pad);
  // A picture without text: at least its height + 4, its scaled width.
  EXPECT_GE(table.CellPixelHeight(1, 1), 54);
  EXPECT_EQ(table.CellPixelWidth(1, 1), 50 + pad);
  EXPECT_EQ(table.GetColumnWidth(0), table.CellPixelWidth(0, 0));
  EXPECT_EQ(table.TotalPixelHeight(), table.GetRowHeight(0) + table.GetRowHeight(1));

  // A spanning cell widens the first of its columns by what the others lack.
  CTDocTable span(2, 2);
  span.SetText(0, 0, "a heading wider than both columns");
  span.SetColumnSpan(0, 0, 2);
  span.SetText(0, 1, "a");
  span.SetText(1, 1, "b");
  span.CalculatePixelSizes();
  EXPECT_EQ(span.GetColumnWidth(0) + span.GetColumnWidth(1), span.CellPixelWidth(0, 0));
}
