#pragma once
// Page decorations of printed documents: up to three decorations in the
// header and three in the footer (texts, pictures, the page number), and
// the lines printed below the header and above the footer. The RTF writer
// renders them as the document's header and footer.

#include "docs/DocTable.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CTPageDecoration {
 public:
  enum class Kind { kText, kGraphicFile, kPreloadedGraphic, kPageNumber };
  explicit CTPageDecoration(double nTopOffset) : v_topOffset(nTopOffset) {}
  virtual ~CTPageDecoration() = default;
  virtual Kind GetKind() const = 0;
  double v_topOffset;
};

class CTTextDecoration : public CTPageDecoration {
 public:
  CTTextDecoration(double nTopOffset, QStringList strs, DocHorAlign alignment)
      : CTPageDecoration(nTopOffset), v_strs(std::move(strs)), v_alignment(alignment) {}
  Kind GetKind() const override { return Kind::kText; }
  QStringList v_strs;
  DocHorAlign v_alignment;
};

class CTGraphicDecoration : public CTPageDecoration {
 public:
  CTGraphicDecoration(double nTopOffset, int nWidth, int nHeight, QString szFileName)
      : CTPageDecoration(nTopOffset), v_width(nWidth), v_height(nHeight), v_fileName(std::move(szFileName)) {}
  Kind GetKind() const override { return Kind::kGraphicFile; }
  int v_width, v_height;
  QString v_fileName;
};

class CTPreloadedGraphicDecoration : public CTGraphicDecoration {
 public:
  CTPreloadedGraphicDecoration(double nTopOffset, int nWidth, int nHeight, std::shared_ptr<const CTDocGraphic> graphic)
      : CTGraphicDecoration(nTopOffset, nWidth, nHeight, QString()), v_graphic(std::move(graphic)) {}
  Kind GetKind() const override { return Kind::kPreloadedGraphic; }
  std::shared_ptr<const CTDocGraphic> v_graphic;
};

class CTPageNrDecoration : public CTTextDecoration {
 public:
  CTPageNrDecoration(double nTopOffset, int nCapMsgNr, int nNbEmptyLines)
      : CTTextDecoration(nTopOffset, QStringList(std::max(0, nNbEmptyLines) + 1, QString()), DocHorAlign::kRight),
        v_capMsgNr(nCapMsgNr) {}
  Kind GetKind() const override { return Kind::kPageNumber; }
  int v_capMsgNr;
};

class CTDecorationDefinition {
 public:
  static constexpr int kMaxZones = 3;

  bool v_mustPrintDecorations = true;
  bool v_mustPrintHeaderLine = true;
  QString v_headerLine;
  bool v_mustPrintFooterLine = false;
  QString v_footerLine;
  // Kept for callers; the RTF writer does not render them.
  bool v_hasTopSepLine = false, v_hasBotSepLine = false, v_hasFrame = false, v_hasDate = true, v_hasTime = false;

  // true: the header's decorations, false: the footer's.
  const std::vector<std::unique_ptr<CTPageDecoration>>& DecorationListFor(bool bTopOrBot) const {
    return bTopOrBot ? v_topZones : v_botZones;
  }
  // Each adder does nothing when the zone holds three decorations already.
  void AddTextZone(bool bTopOrBot, double nTopOffset, const QStringList& strs, DocHorAlign alignment);
  void AddBitmapZone(bool bTopOrBot, double nTopOffset, int nWidth, int nHeight, const QString& szFileName);
  void AddPreloadedBitmapZone(bool bTopOrBot, double nTopOffset, int nWidth, int nHeight,
                              std::shared_ptr<const CTDocGraphic> graphic);
  void AddPageNrZone(bool bTopOrBot, double nTopOffset, int nCapMsgNr, int nNbEmptyLines);

 private:
  void Add(bool bTopOrBot, std::unique_ptr<CTPageDecoration> decoration);
  std::vector<std::unique_ptr<CTPageDecoration>> v_topZones, v_botZones;
};
