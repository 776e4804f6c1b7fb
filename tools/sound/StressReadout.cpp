#include "StressReadout.h"

#include "SpeechText.h"

#include <cstdlib>

namespace zv::soundbuild {
namespace {

bool Tested(const Word& w) { return w.vowels.size() >= 2 && !w.hasYo && !w.marked; }

std::optional<StressProbe> Probe(const Tools& tools, const QString& text, const QByteArray& plain, const Word& w,
                                 const SoundSpec& s, QString& error) {
  StressProbe probe;
  qsizetype nearest = -1;
  for (const qsizetype v : w.vowels) {
    const QByteArray marked = Synthesize(tools, WithStressAt(text, v), s.voice, s.rate, error);
    if (marked.isEmpty()) return std::nullopt;
    if (marked == plain) {
      // A mark that agrees changes nothing; a second one that did too would be a marvel, so
      // the search stops at the first.
      probe.agree.push_back(v - w.start);
      probe.nearest = v - w.start;
      return probe;
    }
    const qsizetype distance = std::abs(marked.size() - plain.size());
    if (nearest < 0 || distance < nearest) {
      nearest = distance;
      probe.nearest = v - w.start;
    }
  }
  return probe;
}

}  // namespace

QString StressSuffix(StressFound how) {
  switch (how) {
    case StressFound::InPhrase:
      return {};
    case StressFound::Alone:
      return QStringLiteral("(1)");
    case StressFound::Guessed:
      return QStringLiteral("(?)");
  }
  return {};
}

std::optional<StressProbe> AloneCache::Find(const QString& word) {
  const std::lock_guard lock(m_mutex);
  const auto it = m_words.find(word);
  if (it == m_words.end()) return std::nullopt;
  return it->second;
}

void AloneCache::Put(const QString& word, const StressProbe& probe) {
  const std::lock_guard lock(m_mutex);
  m_words[word] = probe;
}

QString RenderStress(const QString& text, const std::map<std::size_t, WordStress>& found) {
  const std::vector<Word> words = StressWords(text);
  QString out;
  qsizetype at = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Word& w = words[i];
    out += text.mid(at, w.start - at).toLower();
    const auto it = found.find(i);
    for (qsizetype k = w.start; k < w.start + w.length; ++k) {
      const QChar c = text[k];
      if (c.unicode() == kStressMark) continue;
      const bool forced = k + 1 < text.size() && text[k + 1].unicode() == kStressMark;
      const bool stressed =
          it != found.end() &&
          std::find(it->second.vowels.begin(), it->second.vowels.end(), k - w.start) != it->second.vowels.end();
      out += (forced || stressed) ? c.toUpper() : c.toLower();
    }
    if (it != found.end()) out += StressSuffix(it->second.how);
    at = w.start + w.length;
  }
  out += text.mid(at).toLower();
  return out;
}

ReadoutLine ReadStress(const Tools& tools, const ReadoutItem& item, AloneCache& alone) {
  ReadoutLine line;
  line.label = item.label;
  const SoundSpec& s = item.sound;
  const std::vector<Word> words = StressWords(s.text);
  std::map<std::size_t, WordStress> found;
  const QByteArray plain = Synthesize(tools, s.text, s.voice, s.rate, line.error);
  if (plain.isEmpty()) return line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Word& w = words[i];
    if (!Tested(w)) continue;
    ++line.words;
    const auto inPhrase = Probe(tools, s.text, plain, w, s, line.error);
    if (!inPhrase) return line;
    WordStress ws{StressFound::InPhrase, inPhrase->agree};
    if (ws.vowels.empty()) {
      const QString word = s.text.mid(w.start, w.length).toLower();
      std::optional<StressProbe> said = alone.Find(word);
      if (!said) {
        const QByteArray wordPlain = Synthesize(tools, word, s.voice, s.rate, line.error);
        if (wordPlain.isEmpty()) return line;
        said = Probe(tools, word, wordPlain, StressWords(word).front(), s, line.error);
        if (!said) return line;
        alone.Put(word, *said);
      }
      ws = said->agree.empty() ? WordStress{StressFound::Guessed, {said->nearest}}
                               : WordStress{StressFound::Alone, said->agree};
    }
    line.guessed += ws.how == StressFound::Guessed ? 1 : 0;
    line.alone += ws.how == StressFound::Alone ? 1 : 0;
    found[i] = ws;
  }
  line.text = RenderStress(s.text, found);
  return line;
}

}  // namespace zv::soundbuild
