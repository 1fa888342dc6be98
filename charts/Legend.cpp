#include "charts/Legend.h"

#include "platform/Registry.h"

namespace {

// Red in the low byte; entries 15 and 26 are the same colour.
constexpr TColor kPalette[TLegend::kPaletteSize] = {
    0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080, 0x000000,
    0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0, 0x007FFF,
    0xC0DCC0, 0xF0C8A4, 0xFF7F7F, 0xFF7F00, 0xFF007F, 0x7FFF7F, 0x7FFF00, 0x00FF7F,
    0x7F7FFF, 0x7F00FF, 0x007FFF, 0xAF7F7F, 0xAF7F00, 0xAF007F, 0x7FAF7F, 0x7FAF00,
};

}  // namespace

TLegend::TLegend(const QString& szKey, const QString& szLegendEntry, bool bDisplay)
    : v_key(szKey), v_Label(szLegendEntry), v_DisplayIt(bDisplay), v_Color(kPalette[s_nextColor]) {
  s_nextColor = (s_nextColor + 1) % kPaletteSize;
}

TLegend::~TLegend() { ResetColor(); }

void TLegend::SetIsALine(bool bDefAsLine, int nPenWidth, PenStyle nPenStyle) {
  v_IsALine = bDefAsLine;
  v_PenWidth = nPenWidth;
  v_PenStyle = nPenStyle;
}

TColor TLegend::PaletteColor(int nIndex) { return kPalette[((nIndex % kPaletteSize) + kPaletteSize) % kPaletteSize]; }

void TLegend::ResetColor() { s_nextColor = 0; }

bool TLegend::SaveLegendToIniFile(const std::vector<TLegend*>& pLegend, const QString& szSectionName) {
  for (const TLegend* entry : pLegend) {
    CTRegistry registry;
    if (!registry.OpenKey(szSectionName + QLatin1Char('\\') + entry->v_key, true)) return false;
    if (!registry.WriteInteger(QStringLiteral("Color"), int(entry->v_Color)) ||
        !registry.WriteInteger(QStringLiteral("Visible"), entry->v_DisplayIt ? 1 : 0))
      return false;
  }
  return true;
}

void TLegend::LoadLegendFromIniFile(const std::vector<TLegend*>& pLegend, const QString& szSectionName,
                                    bool bReadColor, bool bReadDisplayIt) {
  for (TLegend* entry : pLegend) {
    CTRegistry registry;
    if (!registry.OpenKey(szSectionName + QLatin1Char('\\') + entry->v_key, false)) continue;
    if (bReadColor) {
      const std::optional<int> color = registry.ReadInteger(QStringLiteral("Color"));
      if (!color) break;
      entry->v_Color = TColor(*color);
    }
    if (bReadDisplayIt) {
      const std::optional<int> visible = registry.ReadInteger(QStringLiteral("Visible"));
      if (!visible) break;
      entry->v_DisplayIt = *visible != 0;
    }
  }
  if (bReadColor) ResetColor();
}
