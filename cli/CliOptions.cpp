#include "cli/CliOptions.h"

#include "cli/CliTexts.h"
#include "i18n/BaseMsgMan.h"

CTCliOptions::CTCliOptions(const QStringList& arguments, const QSet<QString>& szValueOptions,
                           const QSet<QString>& szFlags) {
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments.at(i);
    if (szFlags.contains(arg)) {
      v_flags.insert(arg);
      continue;
    }
    if (!szValueOptions.contains(arg)) {
      v_error = CTCliTexts::Get(CTCliTexts::kUnknownArgument).arg(arg);
      return;
    }
    if (i + 1 >= arguments.size()) {
      v_error = CTCliTexts::Get(CTCliTexts::kNeedsValue).arg(arg);
      return;
    }
    if (v_values.contains(arg)) {
      v_error = CTCliTexts::Get(CTCliTexts::kGivenTwice).arg(arg);
      return;
    }
    v_values.insert(arg, arguments.at(++i));
  }
}

std::optional<double> CTCliOptions::Number(const QString& szName) {
  if (!v_values.contains(szName)) return std::nullopt;
  const QString szText = v_values.value(szName);
  double value = 0;
  // Only "." separates decimals here: "1,5" in a script is more likely a list.
  if (szText.contains(QLatin1Char(',')) || !TBaseMsg::TryParseNumber(szText, value)) {
    if (v_error.isEmpty()) v_error = CTCliTexts::Get(CTCliTexts::kNotANumber).arg(szName, szText);
    return std::nullopt;
  }
  return value;
}
