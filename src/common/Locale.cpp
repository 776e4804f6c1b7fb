#include "common/Locale.h"

#include <QLocale>

#include <array>

namespace zv {
namespace {

struct LcidRow {
  const char* posix;  // language_TERRITORY[@modifier]
  std::uint32_t lcid;
};

// The first row of each language is its main LCID, used for a territory the table lacks.
constexpr LcidRow kLcids[] = {
    // The Cyrillic-reading locales.
    {"ru_RU", 0x419},
    {"ru_MD", 0x819},
    {"uk_UA", 0x422},
    {"be_BY", 0x423},
    {"bg_BG", 0x402},
    {"kk_KZ", 0x43F},
    {"tt_RU", 0x444},
    // Others of the region.
    {"ba_RU", 0x46D},
    {"sah_RU", 0x485},
    {"ky_KG", 0x440},
    {"tg_TJ", 0x428},
    {"tk_TM", 0x442},
    {"mn_MN", 0x450},
    {"uz_UZ", 0x443},
    {"uz_UZ@cyrillic", 0x843},
    {"az_AZ", 0x42C},
    {"ka_GE", 0x437},
    {"hy_AM", 0x42B},
    {"ro_RO", 0x418},
    {"ro_MD", 0x818},
    {"et_EE", 0x425},
    {"lv_LV", 0x426},
    {"lt_LT", 0x427},
    {"pl_PL", 0x415},
    {"cs_CZ", 0x405},
    {"sk_SK", 0x41B},
    {"hu_HU", 0x40E},
    {"sl_SI", 0x424},
    {"hr_HR", 0x41A},
    {"sr_RS", 0x281A},
    {"sr_RS@latin", 0x241A},
    {"sr_ME", 0x301A},
    {"bs_BA", 0x141A},
    {"mk_MK", 0x42F},
    {"el_GR", 0x408},
    {"tr_TR", 0x41F},
    // English.
    {"en_US", 0x409},
    {"en_GB", 0x809},
    {"en_AU", 0xC09},
    {"en_CA", 0x1009},
    {"en_NZ", 0x1409},
    {"en_IE", 0x1809},
    {"en_ZA", 0x1C09},
    {"en_IN", 0x4009},
    // Western Europe.
    {"de_DE", 0x407},
    {"de_CH", 0x807},
    {"de_AT", 0xC07},
    {"de_LU", 0x1007},
    {"de_LI", 0x1407},
    {"fr_FR", 0x40C},
    {"fr_BE", 0x80C},
    {"fr_CA", 0xC0C},
    {"fr_CH", 0x100C},
    {"fr_LU", 0x140C},
    {"es_ES", 0xC0A},
    {"es_MX", 0x80A},
    {"es_AR", 0x2C0A},
    {"it_IT", 0x410},
    {"it_CH", 0x810},
    {"pt_PT", 0x816},
    {"pt_BR", 0x416},
    {"nl_NL", 0x413},
    {"nl_BE", 0x813},
    {"da_DK", 0x406},
    {"sv_SE", 0x41D},
    {"sv_FI", 0x81D},
    {"nb_NO", 0x414},
    {"nn_NO", 0x814},
    {"fi_FI", 0x40B},
    {"is_IS", 0x40F},
    {"ga_IE", 0x83C},
    {"ca_ES", 0x403},
    // Elsewhere.
    {"he_IL", 0x40D},
    {"ar_SA", 0x401},
    {"ar_EG", 0xC01},
    {"fa_IR", 0x429},
    {"hi_IN", 0x439},
    {"zh_CN", 0x804},
    {"zh_TW", 0x404},
    {"zh_HK", 0xC04},
    {"zh_SG", 0x1004},
    {"ja_JP", 0x411},
    {"ko_KR", 0x412},
    {"th_TH", 0x41E},
    {"vi_VN", 0x42A},
    {"id_ID", 0x421},
    {"ms_MY", 0x43E},
};

constexpr std::array<std::uint32_t, 7> kCyrillicReaders = {0x402, 0x419, 0x422, 0x423, 0x43F, 0x444, 0x819};

// "ru_RU@x" -> ("ru", "RU", "x"), case-normalised.
struct PosixName {
  QString language, territory, modifier;
};

PosixName splitPosixName(QStringView name) {
  PosixName parts;
  if (const qsizetype at = name.indexOf(u'@'); at >= 0) {
    parts.modifier = name.sliced(at + 1).toString().toLower();
    name = name.first(at);
  }
  if (const qsizetype dot = name.indexOf(u'.'); dot >= 0) name = name.first(dot);
  qsizetype sep = name.indexOf(u'_');
  if (sep < 0) sep = name.indexOf(u'-');
  if (sep >= 0) {
    parts.territory = name.sliced(sep + 1).toString().toUpper();
    name = name.first(sep);
  }
  parts.language = name.toString().toLower();
  return parts;
}

const LcidRow* rowOf(std::uint32_t lcid) {
  for (const LcidRow& row : kLcids)
    if (row.lcid == lcid) return &row;
  return nullptr;
}

}  // namespace

std::uint32_t LcidFromPosixLocale(QStringView name) {
  const PosixName wanted = splitPosixName(name);
  if (wanted.language.isEmpty()) return kLcidEnglishUS;
  const QString full = wanted.language + u'_' + wanted.territory;
  const QString withModifier = full + u'@' + wanted.modifier;
  const LcidRow* sameLanguage = nullptr;
  const LcidRow* sameTerritory = nullptr;
  for (const LcidRow& row : kLcids) {
    const QLatin1StringView posix(row.posix);
    if (!wanted.modifier.isEmpty() && posix == withModifier) return row.lcid;
    if (!sameTerritory && posix == full) sameTerritory = &row;
    if (!sameLanguage && posix.startsWith(wanted.language + u'_')) sameLanguage = &row;
  }
  if (sameTerritory) return sameTerritory->lcid;
  if (sameLanguage) return sameLanguage->lcid;
  return kLcidEnglishUS;
}

QString UserLocaleName(const QProcessEnvironment& environment) {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const QString value = environment.value(QString::fromLatin1(variable));
    if (!value.isEmpty()) return value;
  }
  return {};
}

std::uint32_t UserDefaultLcid(const QProcessEnvironment& environment) {
  return LcidFromPosixLocale(UserLocaleName(environment));
}

bool IsRussianLcid(std::uint32_t lcid) {
  for (std::uint32_t cyrillic : kCyrillicReaders)
    if (lcid == cyrillic) return true;
  return false;
}

QString EnglishLanguageName(std::uint32_t lcid) {
  const LcidRow* row = rowOf(lcid);
  if (!row) return {};
  const QLocale locale(splitPosixName(QString::fromLatin1(row->posix)).language);
  return QLocale::languageToString(locale.language());
}

int StandardBiasMinutes(const QTimeZone& zone, const QDateTime& at) {
  if (!zone.isValid()) return 0;
  return -zone.standardTimeOffset(at) / 60;
}

int CurrentStandardBias() { return StandardBiasMinutes(QTimeZone::systemTimeZone(), QDateTime::currentDateTimeUtc()); }

}  // namespace zv
