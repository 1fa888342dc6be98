#pragma once
// CTConditionsDocument: conditions the user accepts (the general terms, the
// notice on data processing) as the RTF document their dialog loads into its
// rich-text view: the title centred in bold, then each paragraph after an
// empty line, in the view's font, on a page with the same margin on every
// side and no decorations.

#include "docs/RTFOutput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A page in centimetres.
struct LTConditionsPage {
  double widthCm;
  double heightCm;
  double marginCm;  // left, right, top and bottom
};

class CTConditionsDocument {
 public:
  static constexpr LTConditionsPage kA4Portrait{21.0, 29.7, 1.5};
  static constexpr LTConditionsPage kA4Landscape{29.7, 21.0, 1.5};

  // text: the title first, then the paragraphs (no text: an empty document);
  // szProgramName is the writing application's name in the document.
  static QByteArray Rtf(const QStringList& text, const QString& szProgramName, const LTConditionsPage& page,
                        const LTDocFont& normalFont = LTDocFont());
};
