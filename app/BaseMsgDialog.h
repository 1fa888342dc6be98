#pragma once
// The message dialog: an icon, the message, an optional input line and the
// buttons of the request, laid out left to right as OK, Yes, Yes to All, No,
// No to All, All, Abort, Retry, Ignore, Cancel. Each button closes the
// dialog with its modal result. Its caption and button texts go through the
// interface glossary like every other window's.
//
// The box is as large as its message needs: the message keeps its lines up
// to kMaxBoxWidth pixels of box width (never more than kMaxScreenShare of
// the screen's width), then wraps and the box grows in height; only a
// message taller than kMaxScreenShare of the screen's height scrolls. The
// box never gets narrower than its row of buttons.

#include "i18n/BaseMsgMan.h"

#include <QDialog>
#include <QMap>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TBaseMsgDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMaxBoxWidth = 560;       // pixels, the whole box
  static constexpr double kMaxScreenShare = 0.6;  // of the available screen, each way

  TBaseMsgDialog(const CTMessageRequest& request, QWidget* pParent);

  QString EditedText() const;
  QPushButton* Button(TMsgDlgBtn button) const { return v_buttons.value(button); }

  // Escape and the close box answer Cancel.
  void reject() override { done(mrCancel); }

 private:
  void BuildButtons();
  // Sizes the memo to its message (see the comment at the top).
  void FitMessage(int nButtonRowW);
  void OnButton(TMsgDlgBtn button);
  // Filters typed text into a number when only numbers are allowed.
  void OnEdited(const QString& szText);
  void UpdateOk();

  CTMessageRequest v_request;
  QLabel* Img_Icon = nullptr;
  QPlainTextEdit* Txt_Message = nullptr;
  QLineEdit* Txt_Edit = nullptr;
  QMap<TMsgDlgBtn, QPushButton*> v_buttons;
};
