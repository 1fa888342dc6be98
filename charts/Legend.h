#pragma once
// TLegend: one plot of a line graph as its legend describes it: label,
// colour, pen, and whether it is drawn. New entries take the colours of a
// palette of 32 in turn; the registry store keeps each entry's colour and
// visibility under "<section>\<key>".

#include "charts/DrawSurface.h"

#include <QString>

#include <vector>

class TLegend {
 public:
  static constexpr int kPaletteSize = 32;

  TLegend(const QString& szKey, const QString& szLegendEntry, bool bDisplay);
  // Sets the palette back to its first colour, as every entry's end does.
  ~TLegend();
  TLegend(const TLegend&) = delete;
  TLegend& operator=(const TLegend&) = delete;

  QString RegistryKey() const { return v_key; }
  void SetLegend(const QString& szLabel) { v_Label = szLabel; }
  QString GetLegend() const { return v_Label; }
  void SetColor(TColor c) { v_Color = c; }
  TColor GetColor() const { return v_Color; }
  void SetDisplay(bool b) { v_DisplayIt = b; }
  bool MustDisplay() const { return v_DisplayIt; }
  void SetIsALine(bool bDefAsLine, int nPenWidth, PenStyle nPenStyle);
  bool GetIsALine() const { return v_IsALine; }
  int GetPenWidth() const { return v_PenWidth; }
  PenStyle GetPenStyle() const { return v_PenStyle; }

  static TColor PaletteColor(int nIndex);
  static void ResetColor();
  // Colour and visibility of each entry under "<szSectionName>\<key>" of
  // the current user's store. Loading reads only what is asked, leaves
  // entries without a key as they are, and stops at the first error.
  static bool SaveLegendToIniFile(const std::vector<TLegend*>& pLegend, const QString& szSectionName);
  static void LoadLegendFromIniFile(const std::vector<TLegend*>& pLegend, const QString& szSectionName,
                                    bool bReadColor, bool bReadDisplayIt);

 private:
  QString v_key;
  QString v_Label;
  bool v_DisplayIt;
  bool v_IsALine = false;
  int v_PenWidth = 1;
  PenStyle v_PenStyle = PenStyle::kSolid;
  TColor v_Color;
  static inline int s_nextColor = 0;
};
