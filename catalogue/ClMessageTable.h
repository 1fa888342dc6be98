#pragma once
// Cls_MessageTable: a message that can be shown with a device.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

class Cls_MsgCombination;

class Cls_MessageTable : public CTDbObject {
 public:
  static constexpr int kClassID = 401;
  enum : int {
    Fld_ID = 0,
    Fld_Message = 1,
  };

  explicit Cls_MessageTable(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetMessage() const { return GetTranslatedStringValue(Fld_Message); }
  void SetMessage(const QString& s) { SetUnicodeStringValue(Fld_Message, s); }
  // The records that refer here through "Messages".
  ObjectList<Cls_MsgCombination> GetAllMsgCombination();

  // Removes the message's combinations (each failure ignored), then the message.
  void Remove() override;
};
