#include "docs/PageDecorations.h"

void CTDecorationDefinition::Add(bool bTopOrBot, std::unique_ptr<CTPageDecoration> decoration) {
  auto& zones = bTopOrBot ? v_topZones : v_botZones;
  if (zones.size() >= kMaxZones) return;
  zones.push_back(std::move(decoration));
}

void CTDecorationDefinition::AddTextZone(bool bTopOrBot, double nTopOffset, const QStringList& strs,
                                         DocHorAlign alignment) {
  Add(bTopOrBot, std::make_unique<CTTextDecoration>(nTopOffset, strs, alignment));
}

void CTDecorationDefinition::AddBitmapZone(bool bTopOrBot, double nTopOffset, int nWidth, int nHeight,
                                           const QString& szFileName) {
  Add(bTopOrBot, std::make_unique<CTGraphicDecoration>(nTopOffset, nWidth, nHeight, szFileName));
}

void CTDecorationDefinition::AddPreloadedBitmapZone(bool bTopOrBot, double nTopOffset, int nWidth, int nHeight,
                                                    std::shared_ptr<const CTDocGraphic> graphic) {
  Add(bTopOrBot, std::make_unique<CTPreloadedGraphicDecoration>(nTopOffset, nWidth, nHeight, std::move(graphic)));
}

void CTDecorationDefinition::AddPageNrZone(bool bTopOrBot, double nTopOffset, int nCapMsgNr, int nNbEmptyLines) {
  Add(bTopOrBot, std::make_unique<CTPageNrDecoration>(nTopOffset, nCapMsgNr, nNbEmptyLines));
}
