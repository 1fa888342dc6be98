// The print-parameters dialog: the distributor's lines and a logo within
// the size limit are stored; a larger logo is refused with message 41.

#include "app/DlgPrintParams.h"
#include "docs/PrintParams.h"
#include "i18n/BaseMsgMan.h"
#include "recdb/RecordingPresenter.h"

#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PrintParams, LinesAndALogoWithinTheLimitAreStored) {
  RecordingPresenter messages;
  TBaseMsg::SetPresenter(&messages);
  QTemporaryDir dir;
  const QString tooWide = dir.filePath("wide.png"), fits = dir.filePath("fits.png");
  ASSERT_TRUE(QImage(600, 200, QImage::Format_RGB32).save(tooWide));
  ASSERT_TRUE(QImage(590, 236, QImage::Format_RGB32).save(fits));
  {
    TDlgPrintParams dialog(nullptr);
    dialog.findChild<QLineEdit*>("Edt_Line1")->setText("  North Air Supplies ");
    dialog.findChild<QLineEdit*>("Edt_Line2")->setText("Dock Road 4");
    dialog.SetLogoFile(tooWide);
    dialog.Btn_OKClick();
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(messages.shown.last(), "Maximum bitmap size is 590x236 pixels");
    EXPECT_NE(CTPrintParams::GetLine(1), "North Air Supplies");  // nothing stored
    dialog.SetLogoFile(fits);
    dialog.Btn_OKClick();
    EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetOK);
  }
  EXPECT_EQ(CTPrintParams::GetLine(1), "North Air Supplies");
  EXPECT_EQ(CTPrintParams::GetLine(2), "Dock Road 4");
  EXPECT_EQ(CTPrintParams::GetLogoFile(), fits);
  // The next report takes them.
  const auto& footer = CTPrintParams::GetPageDecorations().DecorationListFor(false);
  ASSERT_EQ(footer.size(), 3u);
  EXPECT_EQ(static_cast<const CTTextDecoration&>(*footer[0]).v_strs.value(0), "North Air Supplies");
  TBaseMsg::SetPresenter(nullptr);
}
