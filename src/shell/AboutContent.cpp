#include "shell/AboutContent.h"

#include <QFile>

#include <algorithm>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

QString Count(int n) { return QString::number(n); }

int CommentsOf(const SoundCoverage& c, SoundCategory category) {
  return c.comments[static_cast<std::size_t>(category)];
}

}  // namespace

CoverageText BuildCoverageText(const SoundCoverage& c) {
  using C = SoundCategory;
  CoverageText out;
  out.text = u"Количество звуковых комментариев - "_s + Count(c.totalComments) + u"\r\n(к началу экзамена - "_s +
             Count(CommentsOf(c, C::Start)) + u", к правильным ответам - "_s + Count(CommentsOf(c, C::Right)) +
             u",\r\nк неправильным ответам - "_s + Count(CommentsOf(c, C::Wrong)) + u", к цейтноту - "_s +
             Count(CommentsOf(c, C::TimeOut)) + u", к оценке \"0\" - "_s + Count(CommentsOf(c, C::Mark0)) +
             u", к оценке \"1\" - "_s + Count(CommentsOf(c, C::Mark1)) + u", к оценке \"2\" - "_s +
             Count(CommentsOf(c, C::Mark2)) + u", к оценке \"3\" - "_s + Count(CommentsOf(c, C::Mark3)) +
             u", \r\nк оценке \"4\" - "_s + Count(CommentsOf(c, C::Mark4)) + u", к оценке \"5\" - "_s +
             Count(CommentsOf(c, C::Mark5)) + u", к выходу из программы - "_s + Count(CommentsOf(c, C::Farewell)) +
             u")."_s;
  // The flags are derived from the hundreds themselves, so a coverage whose count and list
  // disagree still names exactly the hundreds that are missing.
  const auto present = static_cast<int>(std::count(c.voicedPresent.begin(), c.voicedPresent.end(), true));
  const bool allVoiced = present == static_cast<int>(c.voicedPresent.size());
  if (present == 0) {
    out.labelGrowth = 12;
    out.text += u"\r\nНе озвучена ни одна сотня заданий!"_s;
  } else if (!allVoiced) {
    out.labelGrowth = 24;
    out.text += u"\r\nНе озвучены следующие сотни заданий:\r\n"_s;
    QString list;
    for (std::size_t q = 0; q < c.voicedPresent.size(); ++q)
      if (!c.voicedPresent[q]) list += u' ' + Count(static_cast<int>(q) + 1) + u',';
    list.back() = u'.';
    out.text += list;
  }
  const bool allComments = std::all_of(c.comments.begin(), c.comments.end(), [](int n) { return n > 0; });
  if (!allVoiced || !allComments) out.hint = u"Воспользуйтесь \"Интернет-обновлением\"!"_s;
  return out;
}

QString VoicedState(const SoundCoverage& c) {
  const auto present = static_cast<int>(std::count(c.voicedPresent.begin(), c.voicedPresent.end(), true));
  if (present == static_cast<int>(c.voicedPresent.size())) return u"all"_s;
  if (present == 0) return u"no"_s;
  return Count(present * 100);
}

QString MailTarget(const QString& address, const QString& escapedClientId, const SoundCoverage& coverage) {
  return u"mailto:"_s + address + u"?subject="_s + escapedClientId + u"%20"_s + VoicedState(coverage) +
         u"%20questsounds,%20"_s + Count(coverage.totalComments) + u"%20comments"_s;
}

QString WebTarget(const QString& site) { return u"http://"_s + site; }

QString GrantTarget(const QString& supportHost, bool russianLocale) {
  return u"http://"_s + supportHost + (russianLocale ? u"/GrantRus/"_s : u"/GrantEng/"_s);
}

QStringList ParseAboutItems(const QByteArray& utf8) {
  QStringList items;
  for (const QString& raw : QString::fromUtf8(utf8).split(u'\n')) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    items << line;
  }
  return items;
}

AboutCredits LoadAboutCredits(const QString& folder) {
  const auto read = [&folder](const QString& name) {
    QFile f(folder + u'/' + name);
    return f.open(QIODevice::ReadOnly) ? ParseAboutItems(f.readAll()) : QStringList();
  };
  return {read(u"hints.txt"_s), read(u"sources.txt"_s), read(u"performers.txt"_s), read(u"helpers.txt"_s)};
}

std::vector<AboutFragment> BuildAboutFragments(const AboutCredits& credits) {
  std::vector<AboutFragment> out;
  const auto heading = [&out](const QString& text, std::uint32_t colour) {
    out.push_back({text, colour, true, false, false});
  };
  const auto bullets = [&out](const QStringList& items) {
    for (const QString& item : items) out.push_back({item + u'\n', 0, false, true, true});
  };
  heading(u"Неочевидное:\n"_s, kCreditNavy);
  bullets(credits.hints);
  heading(u"\nИсточники:\n"_s, kCreditBlue);
  bullets(credits.sources);
  heading(u"\nИспользованы звуковые фрагменты произведений следующих исполнителей:\n"_s, kCreditGreen);
  out.push_back({credits.performers.join(u", "_s), 0, false, true, false});
  heading(u"\nПомощники:\n"_s, kCreditPurple);
  bullets(credits.helpers);
  return out;
}

}  // namespace zv
