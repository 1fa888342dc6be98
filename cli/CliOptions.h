#pragma once
// Minimal option parsing shared by the commands: "--name value" pairs and
// "--flag" switches, numbers read independently of the process locale.

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class CTCliOptions {
 public:
  // szFlags: switches without a value; every other option takes one.
  CTCliOptions(const QStringList& arguments, const QSet<QString>& szValueOptions, const QSet<QString>& szFlags);

  // Empty when the arguments were well formed, else what is wrong.
  QString Error() const { return v_error; }
  bool Has(const QString& szName) const { return v_values.contains(szName) || v_flags.contains(szName); }
  // The number of a valued option; sets the error text when it is not one.
  std::optional<double> Number(const QString& szName);
  // The text of a valued option, empty when it was not given.
  QString Value(const QString& szName) const { return v_values.value(szName); }
  // Every option given, valued or switch.
  QStringList Names() const { return v_values.keys() + QStringList(v_flags.begin(), v_flags.end()); }

 private:
  QMap<QString, QString> v_values;
  QSet<QString> v_flags;
  QString v_error;
};
