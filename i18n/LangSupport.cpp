#include "i18n/LangSupport.h"

#include "platform/Registry.h"
#include "platform/XmlText.h"

#include <QCollator>
#include <QLocale>
#include <QStringList>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

namespace {

struct LanguageRow {
  int nLCID;
  const char* szCode;
  const char* szEnglishName;
  const char* szAbbreviation;  // the system's three-letter name of the locale
};

// The program's languages, in the order the lists show them before sorting.
constexpr LanguageRow kLanguages[] = {
    {1052, "sq", "Albanian", "SQI"},
    {1059, "be", "Belarusian", "BEL"},
    {1026, "bg", "Bulgarian", "BGR"},
    {1028, "zh", "Chinese (Traditional)", "CHT"},
    {2052, "zh", "Chinese (Simplified)", "CHS"},
    {1050, "hr", "Croatian", "HRV"},
    {1029, "cs", "Czech", "CSY"},
    {1030, "da", "Danish", "DAN"},
    {1043, "nl", "Dutch", "NLD"},
    {1033, "en", "English", "ENU"},
    {3081, "en", "English (Australia)", "ENA"},
    {2057, "en", "English (United Kingdom)", "ENG"},
    {1061, "et", "Estonian", "ETI"},
    {1035, "fi", "Finnish", "FIN"},
    {1036, "fr", "French", "FRA"},
    {1031, "de", "German", "DEU"},
    {1032, "el", "Greek", "ELL"},
    {1038, "hu", "Hungarian", "HUN"},
    {1057, "id", "Indonesian", "IND"},
    {1040, "it", "Italian", "ITA"},
    {1041, "ja", "Japanese", "JPN"},
    {1062, "lv", "Latvian", "LVI"},
    {1063, "lt", "Lithuanian", "LTH"},
    {1071, "mk", "Macedonian", "MKI"},
    {1044, "nb", "Norwegian, Bokmål", "NOR"},
    {1045, "pl", "Polish", "PLK"},
    {1046, "pt", "Portuguese", "PTB"},
    {1048, "ro", "Romanian", "ROM"},
    {1049, "ru", "Russian", "RUS"},
    {1051, "sk", "Slovak", "SKY"},
    {1060, "sl", "Slovenian", "SLV"},
    {1034, "es", "Spanish", "ESP"},
    {1053, "sv", "Swedish", "SVE"},
    {1054, "th", "Thai", "THA"},
    {1055, "tr", "Turkish", "TRK"},
    {1058, "uk", "Ukrainian", "UKR"},
    {1066, "vi", "Vietnamese", "VIT"},
};

struct CountryRow {
  const char* sz2Letters;
  const char* sz3Letters;
  int nNumeric;
  const char* szEnglishName;
};

// ISO 3166-1 as the program lists it (Kosovo, without an ISO number, included).
constexpr CountryRow kCountries[] = {
    {"AF", "AFG", 4, "Afghanistan"},
    {"AX", "ALA", 248, "Åland Islands"},
    {"AL", "ALB", 8, "Albania"},
    {"DZ", "DZA", 12, "Algeria"},
    {"AS", "ASM", 16, "American Samoa"},
    {"AD", "AND", 20, "Andorra"},
    {"AO", "AGO", 24, "Angola"},
    {"AI", "AIA", 660, "Anguilla"},
    {"AQ", "ATA", 10, "Antarctica"},
    {"AG", "ATG", 28, "Antigua and Barbuda"},
    {"AR", "ARG", 32, "Argentina"},
    {"AM", "ARM", 51, "Armenia"},
    {"AW", "ABW", 533, "Aruba"},
    {"AU", "AUS", 36, "Australia"},
    {"AT", "AUT", 40, "Austria"},
    {"AZ", "AZE", 31, "Azerbaijan"},
    {"BS", "BHS", 44, "Bahamas"},
    {"BH", "BHR", 48, "Bahrain"},
    {"BD", "BGD", 50, "Bangladesh"},
    {"BB", "BRB", 52, "Barbados"},
    {"BY", "BLR", 112, "Belarus"},
    {"BE", "BEL", 56, "Belgium"},
    {"BZ", "BLZ", 84, "Belize"},
    {"BJ", "BEN", 204, "Benin"},
    {"BM", "BMU", 60, "Bermuda"},
    {"BT", "BTN", 64, "Bhutan"},
    {"BO", "BOL", 68, "Bolivia (Plurinational State of)"},
    {"BQ", "BES", 535, "Bonaire, Sint Eustatius and Saba"},
    {"BA", "BIH", 70, "Bosnia and Herzegovina"},
    {"BW", "BWA", 72, "Botswana"},
    {"BV", "BVT", 74, "Bouvet Island"},
    {"BR", "BRA", 76, "Brazil"},
    {"IO", "IOT", 86, "British Indian Ocean Territory"},
    {"BN", "BRN", 96, "Brunei Darussalam"},
    {"BG", "BGR", 100, "Bulgaria"},
    {"BF", "BFA", 854, "Burkina Faso"},
    {"BI", "BDI", 108, "Burundi"},
    {"CV", "CPV", 132, "Cabo Verde"},
    {"KH", "KHM", 116, "Cambodia"},
    {"CM", "CMR", 120, "Cameroon"},
    {"CA", "CAN", 124, "Canada"},
    {"KY", "CYM", 136, "Cayman Islands"},
    {"CF", "CAF", 140, "Central African Republic"},
    {"TD", "TCD", 148, "Chad"},
    {"CL", "CHL", 152, "Chile"},
    {"CN", "CHN", 156, "China"},
    {"CX", "CXR", 162, "Christmas Island"},
    {"CC", "CCK", 166, "Cocos (Keeling) Islands"},
    {"CO", "COL", 170, "Colombia"},
    {"KM", "COM", 174, "Comoros"},
    {"CG", "COG", 178, "Congo"},
    {"CD", "COD", 180, "Congo (Democratic Republic of the)"},
    {"CK", "COK", 184, "Cook Islands"},
    {"CR", "CRI", 188, "Costa Rica"},
    {"CI", "CIV", 384, "Côte d'Ivoire"},
    {"HR", "HRV", 191, "Croatia"},
    {"CU", "CUB", 192, "Cuba"},
    {"CW", "CUW", 531, "Curaçao"},
    {"CY", "CYP", 196, "Cyprus"},
    {"CZ", "CZE", 203, "Czech Republic"},
    {"DK", "DNK", 208, "Denmark"},
    {"DJ", "DJI", 262, "Djibouti"},
    {"DM", "DMA", 212, "Dominica"},
    {"DO", "DOM", 214, "Dominican Republic"},
    {"EC", "ECU", 218, "Ecuador"},
    {"EG", "EGY", 818, "Egypt"},
    {"SV", "SLV", 222, "El Salvador"},
    {"GQ", "GNQ", 226, "Equatorial Guinea"},
    {"ER", "ERI", 232, "Eritrea"},
    {"EE", "EST", 233, "Estonia"},
    {"ET", "ETH", 231, "Ethiopia"},
    {"FK", "FLK", 238, "Falkland Islands (Malvinas)"},
    {"FO", "FRO", 234, "Faroe Islands"},
    {"FJ", "FJI", 242, "Fiji"},
    {"FI", "FIN", 246, "Finland"},
    {"FR", "FRA", 250, "France"},
    {"GF", "GUF", 254, "French Guiana"},
    {"PF", "PYF", 258, "French Polynesia"},
    {"TF", "ATF", 260, "French Southern Territories"},
    {"GA", "GAB", 266, "Gabon"},
    {"GM", "GMB", 270, "Gambia"},
    {"GE", "GEO", 268, "Georgia"},
    {"DE", "DEU", 276, "Germany"},
    {"GH", "GHA", 288, "Ghana"},
    {"GI", "GIB", 292, "Gibraltar"},
    {"GR", "GRC", 300, "Greece"},
    {"GL", "GRL", 304, "Greenland"},
    {"GD", "GRD", 308, "Grenada"},
    {"GP", "GLP", 312, "Guadeloupe"},
    {"GU", "GUM", 316, "Guam"},
    {"GT", "GTM", 320, "Guatemala"},
    {"GG", "GGY", 831, "Guernsey"},
    {"GN", "GIN", 324, "Guinea"},
    {"GW", "GNB", 624, "Guinea-Bissau"},
    {"GY", "GUY", 328, "Guyana"},
    {"HT", "HTI", 332, "Haiti"},
    {"HM", "HMD", 334, "Heard Island and McDonald Islands"},
    {"VA", "VAT", 336, "Holy See"},
    {"HN", "HND", 340, "Honduras"},
    {"HK", "HKG", 344, "Hong Kong"},
    {"HU", "HUN", 348, "Hungary"},
    {"IS", "ISL", 352, "Iceland"},
    {"IN", "IND", 356, "India"},
    {"ID", "IDN", 360, "Indonesia"},
    {"IR", "IRN", 364, "Iran (Islamic Republic of)"},
    {"IQ", "IRQ", 368, "Iraq"},
    {"IE", "IRL", 372, "Ireland"},
    {"IM", "IMN", 833, "Isle of Man"},
    {"IL", "ISR", 376, "Israel"},
    {"IT", "ITA", 380, "Italy"},
    {"JM", "JAM", 388, "Jamaica"},
    {"JP", "JPN", 392, "Japan"},
    {"JE", "JEY", 832, "Jersey"},
    {"JO", "JOR", 400, "Jordan"},
    {"KZ", "KAZ", 398, "Kazakhstan"},
    {"KE", "KEN", 404, "Kenya"},
    {"KI", "KIR", 296, "Kiribati"},
    {"KP", "PRK", 408, "Korea (Democratic People's Republic of)"},
    {"KR", "KOR", 410, "Korea (Republic of)"},
    {"XK", "XKX", 0, "Kosovo"},
    {"KW", "KWT", 414, "Kuwait"},
    {"KG", "KGZ", 417, "Kyrgyzstan"},
    {"LA", "LAO", 418, "Lao People's Democratic Republic"},
    {"LV", "LVA", 428, "Latvia"},
    {"LB", "LBN", 422, "Lebanon"},
    {"LS", "LSO", 426, "Lesotho"},
    {"LR", "LBR", 430, "Liberia"},
    {"LY", "LBY", 434, "Libya"},
    {"LI", "LIE", 438, "Liechtenstein"},
    {"LT", "LTU", 440, "Lithuania"},
    {"LU", "LUX", 442, "Luxembourg"},
    {"MO", "MAC", 446, "Macao"},
    {"MK", "MKD", 807, "Macedonia (the former Yugoslav Republic of)"},
    {"MG", "MDG", 450, "Madagascar"},
    {"MW", "MWI", 454, "Malawi"},
    {"MY", "MYS", 458, "Malaysia"},
    {"MV", "MDV", 462, "Maldives"},
    {"ML", "MLI", 466, "Mali"},
    {"MT", "MLT", 470, "Malta"},
    {"MH", "MHL", 584, "Marshall Islands"},
    {"MQ", "MTQ", 474, "Martinique"},
    {"MR", "MRT", 478, "Mauritania"},
    {"MU", "MUS", 480, "Mauritius"},
    {"YT", "MYT", 175, "Mayotte"},
    {"MX", "MEX", 484, "Mexico"},
    {"FM", "FSM", 583, "Micronesia (Federated States of)"},
    {"MD", "MDA", 498, "Moldova (Republic of)"},
    {"MC", "MCO", 492, "Monaco"},
    {"MN", "MNG", 496, "Mongolia"},
    {"ME", "MNE", 499, "Montenegro"},
    {"MS", "MSR", 500, "Montserrat"},
    {"MA", "MAR", 504, "Morocco"},
    {"MZ", "MOZ", 508, "Mozambique"},
    {"MM", "MMR", 104, "Myanmar"},
    {"NA", "NAM", 516, "Namibia"},
    {"NR", "NRU", 520, "Nauru"},
    {"NP", "NPL", 524, "Nepal"},
    {"NL", "NLD", 528, "Netherlands"},
    {"NC", "NCL", 540, "New Caledonia"},
    {"NZ", "NZL", 554, "New Zealand"},
    {"NI", "NIC", 558, "Nicaragua"},
    {"NE", "NER", 562, "Niger"},
    {"NG", "NGA", 566, "Nigeria"},
    {"NU", "NIU", 570, "Niue"},
    {"NF", "NFK", 574, "Norfolk Island"},
    {"MP", "MNP", 580, "Northern Mariana Islands"},
    {"NO", "NOR", 578, "Norway"},
    {"OM", "OMN", 512, "Oman"},
    {"PK", "PAK", 586, "Pakistan"},
    {"PW", "PLW", 585, "Palau"},
    {"PS", "PSE", 275, "Palestine, State of"},
    {"PA", "PAN", 591, "Panama"},
    {"PG", "PNG", 598, "Papua New Guinea"},
    {"PY", "PRY", 600, "Paraguay"},
    {"PE", "PER", 604, "Peru"},
    {"PH", "PHL", 608, "Philippines"},
    {"PN", "PCN", 612, "Pitcairn"},
    {"PL", "POL", 616, "Poland"},
    {"PT", "PRT", 620, "Portugal"},
    {"PR", "PRI", 630, "Puerto Rico"},
    {"QA", "QAT", 634, "Qatar"},
    {"RE", "REU", 638, "Réunion"},
    {"RO", "ROU", 642, "Romania"},
    {"RU", "RUS", 643, "Russian Federation"},
    {"RW", "RWA", 646, "Rwanda"},
    {"BL", "BLM", 652, "Saint Barthélemy"},
    {"SH", "SHN", 654, "Saint Helena, Ascension and Tristan da Cunha"},
    {"KN", "KNA", 659, "Saint Kitts and Nevis"},
    {"LC", "LCA", 662, "Saint Lucia"},
    {"MF", "MAF", 663, "Saint Martin (French part)"},
    {"PM", "SPM", 666, "Saint Pierre and Miquelon"},
    {"VC", "VCT", 670, "Saint Vincent and the Grenadines"},
    {"WS", "WSM", 882, "Samoa"},
    {"SM", "SMR", 674, "San Marino"},
    {"ST", "STP", 678, "Sao Tome and Principe"},
    {"SA", "SAU", 682, "Saudi Arabia"},
    {"SN", "SEN", 686, "Senegal"},
    {"RS", "SRB", 688, "Serbia"},
    {"SC", "SYC", 690, "Seychelles"},
    {"SL", "SLE", 694, "Sierra Leone"},
    {"SG", "SGP", 702, "Singapore"},
    {"SX", "SXM", 534, "Sint Maarten (Dutch part)"},
    {"SK", "SVK", 703, "Slovakia"},
    {"SI", "SVN", 705, "Slovenia"},
    {"SB", "SLB", 90, "Solomon Islands"},
    {"SO", "SOM", 706, "Somalia"},
    {"ZA", "ZAF", 710, "South Africa"},
    {"GS", "SGS", 239, "South Georgia and the South Sandwich Islands"},
    {"SS", "SSD", 728, "South Sudan"},
    {"ES", "ESP", 724, "Spain"},
    {"LK", "LKA", 144, "Sri Lanka"},
    {"SD", "SDN", 729, "Sudan"},
    {"SR", "SUR", 740, "Suriname"},
    {"SJ", "SJM", 744, "Svalbard and Jan Mayen"},
    {"SZ", "SWZ", 748, "Swaziland"},
    {"SE", "SWE", 752, "Sweden"},
    {"CH", "CHE", 756, "Switzerland"},
    {"SY", "SYR", 760, "Syrian Arab Republic"},
    {"TW", "TWN", 158, "Taiwan"},
    {"TJ", "TJK", 762, "Tajikistan"},
    {"TZ", "TZA", 834, "Tanzania, United Republic of"},
    {"TH", "THA", 764, "Thailand"},
    {"TL", "TLS", 626, "Timor-Leste"},
    {"TG", "TGO", 768, "Togo"},
    {"TK", "TKL", 772, "Tokelau"},
    {"TO", "TON", 776, "Tonga"},
    {"TT", "TTO", 780, "Trinidad and Tobago"},
    {"TN", "TUN", 788, "Tunisia"},
    {"TR", "TUR", 792, "Turkey"},
    {"TM", "TKM", 795, "Turkmenistan"},
    {"TC", "TCA", 796, "Turks and Caicos Islands"},
    {"TV", "TUV", 798, "Tuvalu"},
    {"UG", "UGA", 800, "Uganda"},
    {"UA", "UKR", 804, "Ukraine"},
    {"AE", "ARE", 784, "United Arab Emirates"},
    {"GB", "GBR", 826, "United Kingdom"},
    {"US", "USA", 840, "United States of America"},
    {"UM", "UMI", 581, "United States Minor Outlying Islands"},
    {"UY", "URY", 858, "Uruguay"},
    {"UZ", "UZB", 860, "Uzbekistan"},
    {"VU", "VUT", 548, "Vanuatu"},
    {"VE", "VEN", 862, "Venezuela (Bolivarian Republic of)"},
    {"VN", "VNM", 704, "Viet Nam"},
    {"VG", "VGB", 92, "Virgin Islands (British)"},
    {"VI", "VIR", 850, "Virgin Islands (U.S.)"},
    {"WF", "WLF", 876, "Wallis and Futuna"},
    {"EH", "ESH", 732, "Western Sahara"},
    {"YE", "YEM", 887, "Yemen"},
    {"ZM", "ZMB", 894, "Zambia"},
    {"ZW", "ZWE", 716, "Zimbabwe"},
};

struct MainLanguageRow {
  int nLCID;
  const char* szCountries;  // alpha-2 codes, blank-separated
};

// Countries whose main language is not English.
constexpr MainLanguageRow kMainLanguages[] = {
    {1052, "AL"},  // Albanian
    {1026, "BG"},  // Bulgarian
    {2052, "CN"},  // Chinese (Simplified)
    {1028, "HK TW"},  // Chinese (Traditional)
    {1050, "BA HR XK MK RS"},  // Croatian
    {1029, "CZ"},  // Czech
    {1030, "DK FO GL"},  // Danish
    {1043, "AW BQ NL SX SR"},  // Dutch
    {1035, "FI"},  // Finnish
    {1036, "DZ BJ BF CM CF TD CG CD CI DJ FR GF PF TF GA GP GN LU MQ MU YT MC NE RE RW BL MF SN"},  // French
    {1031, "AT DE LI"},  // German
    {1032, "CY GR"},  // Greek
    {1038, "HU"},  // Hungarian
    {1057, "ID"},  // Indonesian
    {1040, "VA IT SM"},  // Italian
    {1041, "JP"},  // Japanese
    {1044, "NO SJ"},  // Norwegian, Bokmål
    {1045, "PL"},  // Polish
    {1046, "AO BR MZ PT"},  // Portuguese
    {1048, "MD RO"},  // Romanian
    {1049, "AM AZ BY EE KZ KG LV LT MN RU TJ TM UA UZ"},  // Russian
    {1051, "SK"},  // Slovak
    {1060, "SI"},  // Slovenian
    {1034, "AD AR BO CV CL CO CR CU DO EC SV GQ GT HN MX NI PA PY PE PR ES UY VE"},  // Spanish
    {1053, "AX SE"},  // Swedish
    {1054, "TH"},  // Thai
    {1055, "TR"},  // Turkish
    {1066, "VN"},  // Vietnamese
};

constexpr char kRomaniaOwnLetters[] = "ROM";  // Romania's number predates its code "ROU"
constexpr char kRenamedEnglishUK[] = "English (USA)";

const QString kLocaleKey = QStringLiteral("Software\\Norvane\\Locale");
const QString kCountryValue = QStringLiteral("Country");
const QString kLanguageValue = QStringLiteral("Language");

// Both tables. The vectors are filled once and never resized, so the
// pointers handed out (and each country's v_language) stay valid.
struct LTTables {
  std::vector<CTLanguageDefinition> languages;
  std::vector<CTCountryDefinition> countries;

  LTTables() {
    languages.reserve(std::size(kLanguages));
    for (const LanguageRow& row : kLanguages)
      languages.push_back({QString::fromLatin1(row.szCode), QString::fromUtf8(row.szEnglishName), row.nLCID});
    const CTLanguageDefinition* english = Language(CTLangSupport::kEnglish);
    countries.reserve(std::size(kCountries));
    for (const CountryRow& row : kCountries) {
      CTCountryDefinition country;
      country.v_iso_2letterCode = QString::fromLatin1(row.sz2Letters);
      country.v_iso_3letterCode = QString::fromLatin1(row.sz3Letters);
      country.v_iso_englishName = QString::fromUtf8(row.szEnglishName);
      country.v_iso_numericCode = row.nNumeric;
      const QString ownLetters = country.v_iso_2letterCode == QLatin1String("RO")
                                     ? QString::fromLatin1(kRomaniaOwnLetters)
                                     : country.v_iso_3letterCode;
      country.v_ownNumericCode = CTCountryDefinition::OwnNumber(ownLetters);
      country.v_language = english;
      countries.push_back(country);
    }
    for (const MainLanguageRow& row : kMainLanguages) {
      const CTLanguageDefinition* language = Language(row.nLCID);
      const QStringList codes = QString::fromLatin1(row.szCountries).split(QLatin1Char(' '), Qt::SkipEmptyParts);
      for (CTCountryDefinition& country : countries)
        if (codes.contains(country.v_iso_2letterCode)) country.v_language = language;
    }
  }

  const CTLanguageDefinition* Language(int nLCID) const {
    for (const CTLanguageDefinition& language : languages)
      if (language.v_windowsCode == nLCID) return &language;
    return nullptr;
  }
};

// Mutable only for the renaming of one language name at start-up.
LTTables& Tables() {
  static LTTables tables;
  return tables;
}

std::atomic<int> g_uiLanguage{CTLangSupport::kEnglish};

}  // namespace

// ---------------------------------------------------------------- definitions

const CTLanguageDefinition* CTLanguageDefinition::FindLanguage(int nLanguage) {
  // English is asked for most; its answer is kept.
  if (nLanguage == CTLangSupport::kEnglish) {
    static const CTLanguageDefinition* const english = Tables().Language(CTLangSupport::kEnglish);
    return english;
  }
  return Tables().Language(nLanguage);
}

const CTLanguageDefinition* CTLanguageDefinition::FindLanguageByCode(const QString& sz2LetterCode) {
  for (const CTLanguageDefinition& language : Tables().languages)
    if (language.v_iso_2letterCode.compare(sz2LetterCode, Qt::CaseInsensitive) == 0) return &language;
  return nullptr;
}

const CTCountryDefinition* CTCountryDefinition::FindCountry(int nCode) {
  for (const CTCountryDefinition& country : Tables().countries)
    if (country.v_ownNumericCode == nCode) return &country;
  return nullptr;
}

const CTCountryDefinition* CTCountryDefinition::FindACountryWithLanguage(int nLanguage) {
  for (const CTCountryDefinition& country : Tables().countries)
    if (country.v_language->v_windowsCode == nLanguage) return &country;
  return nullptr;
}

int CTCountryDefinition::OwnNumber(const QString& sz3Letters) {
  if (sz3Letters.size() != 3) return -1;
  int number = 0;
  for (const QChar c : sz3Letters) {
    if (c < QLatin1Char('A') || c > QLatin1Char('Z')) return -1;
    number = number * 26 + (c.unicode() - u'A');
  }
  return number;
}

// ---------------------------------------------------------------- languages

QString CTLangSupport::ID2String(int nLangID) {
  const CTLanguageDefinition* language = CTLanguageDefinition::FindLanguage(nLangID);
  return language ? language->v_iso_englishName : QString();
}

int CTLangSupport::String2ID(const QString& szLangStr) {
  for (const CTLanguageDefinition& language : Tables().languages)
    if (language.v_iso_englishName.compare(szLangStr, Qt::CaseInsensitive) == 0) return language.v_windowsCode;
  return 0;
}

QString CTLangSupport::ID2FileExtension(int nLangID) {
  for (const LanguageRow& row : kLanguages)
    if (row.nLCID == nLangID) return QString::fromLatin1(row.szAbbreviation);
  return {};
}

int CTLangSupport::FileExtension2ID(const QString& szExt) {
  for (const LanguageRow& row : kLanguages)
    if (szExt.compare(QLatin1String(row.szAbbreviation), Qt::CaseInsensitive) == 0) return row.nLCID;
  return 0;
}

bool CTLangSupport::UseUnicodeFont(int nLangID) {
  // Primary language ids: Arabic 1, Chinese 4, Greek 8, Hebrew 13,
  // Japanese 17, Korean 18, Thai 30, Farsi 41.
  constexpr int kUnicodePrimaries[] = {1, 4, 8, 13, 17, 18, 30, 41};
  const int primary = nLangID & 0x3FF;
  return std::find(std::begin(kUnicodePrimaries), std::end(kUnicodePrimaries), primary) !=
         std::end(kUnicodePrimaries);
}

// ---------------------------------------------------------------- countries

QString CTLangSupport::EnglishCountryName(int nCountryCode) {
  const CTCountryDefinition* country = CTCountryDefinition::FindCountry(nCountryCode);
  return country ? country->v_iso_englishName : QString();
}

QString CTLangSupport::TwoLetterCountryName(int nCountryCode) {
  const CTCountryDefinition* country = CTCountryDefinition::FindCountry(nCountryCode);
  return country ? country->v_iso_2letterCode : QString();
}

int CTLangSupport::MainLanguageFor(int nCountryCode) {
  const CTCountryDefinition* country = CTCountryDefinition::FindCountry(nCountryCode);
  return country ? country->v_language->v_windowsCode : kEnglish;
}

// ---------------------------------------------------------------- lists

void CTLangSupport::FillStrings(LTLangList& pStrs) {
  for (const CTLanguageDefinition& language : Tables().languages)
    pStrs.append({language.v_iso_englishName, language.v_windowsCode});
}

void CTLangSupport::FillUniqueCountries(LTLangList& pStrs) {
  for (const CTCountryDefinition& country : Tables().countries)
    pStrs.append({country.v_iso_englishName, country.v_ownNumericCode});
}

int CTLangSupport::FindCountryCode(const LTLangList& pStrs, int nCountryID) {
  for (int i = 0; i < pStrs.size(); ++i)
    if (pStrs[i].v_id == nCountryID) return i;
  return -1;
}

int CTLangSupport::ItemCountryCode(const LTLangList& pStrs, int nIndex) {
  if (nIndex < 0 || nIndex >= pStrs.size()) return 0;
  return pStrs[nIndex].v_id;
}

int CTLangSupport::FindLanguageIndex(const LTLangList& pStrs, int nLangID) {
  return FindCountryCode(pStrs, nLangID);  // the same search over the ids
}

int CTLangSupport::ItemLanguage(const LTLangList& pStrs, int nIndex, int nDefaultValue) {
  if (nIndex < 0 || nIndex >= pStrs.size()) return nDefaultValue;
  return pStrs[nIndex].v_id;
}

void CTLangSupport::SortByText(LTLangList& pStrs) {
  QCollator collator{QLocale(QLocale::English, QLocale::UnitedStates)};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(pStrs.begin(), pStrs.end(), [&collator](const LTLangListItem& a, const LTLangListItem& b) {
    return collator.compare(a.v_text, b.v_text) < 0;
  });
}

// ---------------------------------------------------------------- interface language

int CTLangSupport::UILanguage() { return g_uiLanguage.load(); }

void CTLangSupport::SetUILanguage(int nLangID) { g_uiLanguage.store(nLangID); }

void CTLangSupport::ApplyServerLanguageNames(int nServerID) {
  const char* name = "English (United Kingdom)";
  if (nServerID == kRenamingServerID) name = kRenamedEnglishUK;
  for (CTLanguageDefinition& language : Tables().languages)
    if (language.v_windowsCode == kEnglishUK) language.v_iso_englishName = QString::fromLatin1(name);
}

// ---------------------------------------------------------------- locale store

QString CTLangSupport::LocaleKey() { return kLocaleKey; }

LTLocaleData CTLangSupport::GetLocaleData() {
  CTRegistry registry(CTRegHive::CurrentUser);
  if (!registry.OpenKey(kLocaleKey, false)) return {};
  const std::optional<int> country = registry.ReadInteger(kCountryValue);
  const std::optional<int> language = registry.ReadInteger(kLanguageValue);
  if (!country || !language) return {};
  return {*country, *language, true};
}

void CTLangSupport::SetLocaleData(int nCountry, int nLanguage) {
  CTRegistry registry(CTRegHive::CurrentUser);
  if (!registry.OpenKey(kLocaleKey, true)) return;
  registry.WriteInteger(kCountryValue, nCountry);
  registry.WriteInteger(kLanguageValue, nLanguage);
}

CTLangSupport::TLocaleCheck CTLangSupport::CheckDefaultLocale(int nServerID) {
  ApplyServerLanguageNames(nServerID);
  return GetLocaleData().v_stored ? TLocaleCheck::kChoiceStored : TLocaleCheck::kAskUser;
}

// ---------------------------------------------------------------- translation approval

QByteArray LTTranslationApproval::Line() const {
  const std::pair<const char*, QString> attributes[] = {
      {"program", v_program},     {"nr", v_version},         {"language", QString::number(v_language)},
      {"firstname", v_firstName}, {"lastname", v_lastName}, {"email", v_email},
  };
  QByteArray line = "<approval ";
  for (const auto& [name, value] : attributes) line += QByteArray(name) + "=\"" + CTXmlText::XMLSafeString(value).toLatin1() + "\" ";
  line += "/>\r\n";
  return line;
}

bool LTTranslationApproval::IsValidEmail(const QString& szEmail) {
  const qsizetype at = szEmail.indexOf(QLatin1Char('@'));
  if (at <= 0) return false;  // none, or the first character
  const QString domain = szEmail.mid(at + 1);
  const qsizetype dot = domain.indexOf(QLatin1Char('.'));
  return dot > 0 && dot < domain.size() - 1;
}

QString LTTranslationApproval::NewUploadName() {
  // The registry form: upper-case hexadecimal between braces. The upload
  // percent-encodes it, so the braces travel as "%7B" and "%7D".
  return QUuid::createUuid().toString(QUuid::WithBraces).toUpper() + QStringLiteral(".txt");
}
