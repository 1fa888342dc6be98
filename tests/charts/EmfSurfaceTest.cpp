// The metafile back-end: a well-formed EMF whose records say what the
// canvas drew, read back by walking the records as a reader does.

#include "charts/EmfSurface.h"
#include "charts/VirtCanv.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct EmfRecord {
  std::uint32_t type;
  QByteArray body;  // after type and size
  std::int32_t I32(int index) const { return qFromLittleEndian<std::int32_t>(body.constData() + 4 * index); }
};

// Walks the records; fails the test on a size that a reader could not follow.
std::vector<EmfRecord> Records(const QByteArray& emf) {
  std::vector<EmfRecord> records;
  int at = 0;
  while (at + 8 <= emf.size()) {
    const std::uint32_t type = qFromLittleEndian<std::uint32_t>(emf.constData() + at);
    const std::uint32_t size = qFromLittleEndian<std::uint32_t>(emf.constData() + at + 4);
    EXPECT_GE(size, 8u);
    EXPECT_EQ(size % 4, 0u);
    EXPECT_LE(at + int(size), emf.size());
    if (size < 8 || at + int(size) > emf.size()) break;
    records.push_back({type, emf.mid(at + 8, int(size) - 8)});
    at += int(size);
  }
  EXPECT_EQ(at, emf.size());
  return records;
}

TEST(EmfSurface, HeaderStatesTheSizeIn0_01MmAt96PpiAndTheFileAddsUp) {
  CTEmfSurface surface(100, 50);
  CTVirtualCanvas canvas(&surface);
  canvas.MoveTo(1, 2);
  canvas.LineTo(30, 40);
  const QByteArray emf = surface.Bytes();
  const std::vector<EmfRecord> records = Records(emf);
  ASSERT_GE(records.size(), 3u);
  const EmfRecord& header = records.front();
  EXPECT_EQ(header.type, 1u);
  // Bounds in pixels, inclusive; frame: 100 px = 25.4 mm = 2540 x 0.01 mm,
  // 2645.8 for 100 px at 96 ppi, rounded, the last unit inclusive.
  EXPECT_EQ((std::vector<int>{header.I32(0), header.I32(1), header.I32(2), header.I32(3)}), (std::vector<int>{0, 0, 99, 49}));
  EXPECT_EQ((std::vector<int>{header.I32(4), header.I32(5), header.I32(6), header.I32(7)}),
            (std::vector<int>{0, 0, 2645, 1322}));
  EXPECT_EQ(header.body.mid(32, 4), QByteArray(" EMF"));
  EXPECT_EQ(std::uint32_t(header.I32(10)), std::uint32_t(emf.size()));      // file size
  EXPECT_EQ(std::uint32_t(header.I32(11)), std::uint32_t(records.size()));  // record count
  EXPECT_EQ(records.back().type, 14u);                                      // EMR_EOF

  // The line: a pen made and selected, then the move and the line.
  std::vector<std::uint32_t> types;
  for (const EmfRecord& r : records) types.push_back(r.type);
  const auto find = [&](std::uint32_t type) { return std::find(types.begin(), types.end(), type) - types.begin(); };
  ASSERT_LT(find(38), find(54));  // EMR_CREATEPEN before EMR_LINETO
  const EmfRecord& line = records[std::size_t(find(54))];
  EXPECT_EQ(line.I32(0), 30);
  EXPECT_EQ(line.I32(1), 40);
}

TEST(EmfSurface, TextCarriesOneAdvancePerCharacterAndObjectsAreReplacedNotPiledUp) {
  CTEmfSurface surface(200, 100);
  CTVirtualCanvas canvas(&surface);
  for (int i = 0; i < 20; ++i) {  // twenty pen and brush colours
    canvas.SetVCPenColor(DrawColors::Rgb(i, 0, 0));
    canvas.SetVCBrushColor(DrawColors::Rgb(0, i, 0));
    canvas.DrawRectangle(i, i, i + 5, i + 5);
  }
  canvas.SetVCTextSize(10);
  canvas.TextOut(10, 20, "Supply");
  const std::vector<EmfRecord> records = Records(surface.Bytes());
  std::map<std::uint32_t, int> alive;  // created, not yet deleted
  int rectangles = 0;
  for (const EmfRecord& r : records) {
    if (r.type == 38 || r.type == 39 || r.type == 82) ++alive[std::uint32_t(r.I32(0))];
    if (r.type == 40) --alive[std::uint32_t(r.I32(0))];
    if (r.type == 43) ++rectangles;
    if (r.type == 84) {  // EMR_EXTTEXTOUTW
      // EMRTEXT after bounds (4), graphics mode and scales (3): the
      // reference point, 6 characters, the string and the advances.
      EXPECT_EQ(r.I32(7), 10);
      EXPECT_EQ(r.I32(8), 20);
      ASSERT_EQ(r.I32(9), 6);
      const int stringAt = r.I32(10) - 8, advancesAt = r.I32(16) - 8;
      EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(r.body.constData() + stringAt), 6), "Supply");
      int width = 0;
      for (int i = 0; i < 6; ++i) width += qFromLittleEndian<std::int32_t>(r.body.constData() + advancesAt + 4 * i);
      EXPECT_EQ(width, surface.TextExtent("Supply").width());
    }
  }
  EXPECT_EQ(rectangles, 20);
  int live = 0;
  for (const auto& [handle, count] : alive) {
    EXPECT_GE(handle, 1u);
    EXPECT_LE(handle, 6u);
    live += count;
  }
  EXPECT_LE(live, 3);  // one pen, one brush, one font
}

}  // namespace
