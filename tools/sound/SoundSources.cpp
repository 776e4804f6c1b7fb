#include "SoundSources.h"

#include "SpeechText.h"

#include <QFile>

#include <cmath>

namespace zv::soundbuild {
namespace {

QString Where(const QString& file, int line) { return QStringLiteral("%1:%2").arg(file).arg(line); }

void Error(QStringList& errors, const QString& origin, const QString& message) {
  errors.append(QStringLiteral("%1: error: %2").arg(origin, message));
}

// The lines of a UTF-8 file that carry content: not blank, not a "#" comment; with their numbers.
std::vector<std::pair<int, QString>> ContentLines(const QByteArray& data) {
  std::vector<std::pair<int, QString>> lines;
  int number = 0;
  for (const QString& raw : QString::fromUtf8(data).split(QLatin1Char('\n'))) {
    ++number;
    QString line = raw;
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    lines.emplace_back(number, line);
  }
  return lines;
}

std::optional<QByteArray> ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  return f.readAll();
}

}  // namespace

const Voice* FindVoice(const QString& name) {
  for (const Voice& v : kVoices)
    if (name == QLatin1String(v.name)) return &v;
  return nullptr;
}

void ParseTaskPhrases(const QString& file, const QByteArray& data, std::map<int, Phrase>& out, QStringList& errors) {
  for (const auto& [number, line] : ContentLines(data)) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    bool ok = false;
    const int index = fields.value(0).toInt(&ok);
    if (!ok || fields.size() < 3 || fields[2].isEmpty()) {
      Error(errors, Where(file, number), QStringLiteral("not a task line (index, register, phrase, ...)"));
      continue;
    }
    out[index] = Phrase{fields[2], Where(file, number)};
  }
}

std::map<int, SpokenForm> ParseSpokenForms(const QString& file, const QByteArray& data, QStringList& errors) {
  std::map<int, SpokenForm> forms;
  for (const auto& [number, line] : ContentLines(data)) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    bool ok = false;
    const int index = fields.value(0).toInt(&ok);
    const QString where = Where(file, number);
    if (!ok || fields.size() < 2 || fields.size() > 3 || fields[1].isEmpty()) {
      Error(errors, where, QStringLiteral("expected index TAB text to speak [TAB voice]"));
      continue;
    }
    const QString voice = fields.value(2);
    if (!voice.isEmpty() && voice != QLatin1String(kPhraseVoices[0]) && voice != QLatin1String(kPhraseVoices[1])) {
      Error(errors, where, QStringLiteral("phrases are spoken by elena or aleksandr, not \"%1\"").arg(voice));
      continue;
    }
    if (forms.count(index) != 0) {
      Error(
          errors, where, QStringLiteral("task %1 has a spoken form already (%2)").arg(index).arg(forms[index].origin));
      continue;
    }
    forms[index] = SpokenForm{fields[1], voice, where};
  }
  return forms;
}

bool PhraseSound(const Phrase& phrase, const SpokenForm* spoken, SoundSpec& out, QStringList& errors) {
  const QString origin = spoken != nullptr ? spoken->origin : phrase.origin;
  if (spoken != nullptr) {
    if (const QString why = CheckSpokenForm(phrase.shown, spoken->text); !why.isEmpty()) {
      Error(errors, origin, why);
      return false;
    }
  }
  const SpeechText speech = ToSpeech(spoken != nullptr ? spoken->text : phrase.shown);
  if (!speech.Ok()) {
    Error(errors,
          origin,
          spoken != nullptr
              ? speech.error
              : speech.error + QStringLiteral(" (give the task a spoken form in content/tasks/spoken.tsv)"));
    return false;
  }
  const QString voice = spoken != nullptr && !spoken->voice.isEmpty() ? spoken->voice : QLatin1String(kPhraseVoice);
  out = SoundSpec{speech.text, voice, FindVoice(voice)->rate, origin};
  return true;
}

std::vector<SoundSpec> ParseComments(const QString& file, const QByteArray& data, QStringList& errors) {
  std::vector<SoundSpec> sounds;
  std::size_t n = 0;
  for (const auto& [number, line] : ContentLines(data)) {
    const QString where = Where(file, number);
    const QStringList fields = line.split(QLatin1Char('\t'));
    const Voice* voice = &kVoices[n++ % kVoices.size()];
    if (fields.size() > 3) {
      Error(errors, where, QStringLiteral("expected a comment [TAB voice [TAB rate]]"));
      continue;
    }
    if (fields.size() >= 2 && !fields[1].isEmpty()) {
      voice = FindVoice(fields[1]);
      if (voice == nullptr) {
        Error(errors, where, QStringLiteral("unknown voice \"%1\" (anna, elena, irina, aleksandr)").arg(fields[1]));
        continue;
      }
    }
    int rate = voice->rate;
    if (fields.size() == 3) {
      bool ok = false;
      const int percent = fields[2].toInt(&ok);
      if (!ok || percent < 50 || percent > 200) {
        Error(errors, where, QStringLiteral("the rate is a percentage of the voice's normal rate, 50..200"));
        continue;
      }
      rate = static_cast<int>(std::lround(voice->rate * percent / 100.0));
    }
    const SpeechText speech = ToSpeech(fields[0]);
    if (!speech.Ok()) {
      Error(errors, where, speech.error);
      continue;
    }
    sounds.push_back(SoundSpec{speech.text, QLatin1String(voice->name), rate, where});
  }
  return sounds;
}

ContentSounds LoadContent(const QDir& contentDir) {
  ContentSounds content;
  std::map<int, Phrase> phrases;
  for (int hundred = 1; hundred <= kHundreds; ++hundred) {
    const QString rel = QStringLiteral("tasks/q%1.tsv").arg(hundred, 2, 10, QLatin1Char('0'));
    if (const auto data = ReadFile(contentDir.filePath(rel)))
      ParseTaskPhrases(QStringLiteral("content/") + rel, *data, phrases, content.errors);
  }
  std::map<int, SpokenForm> spoken;
  if (const auto data = ReadFile(contentDir.filePath(QStringLiteral("tasks/spoken.tsv"))))
    spoken = ParseSpokenForms(QStringLiteral("content/tasks/spoken.tsv"), *data, content.errors);
  for (const auto& [index, form] : spoken)
    if (phrases.count(index) == 0) Error(content.errors, form.origin, QStringLiteral("no task %1").arg(index));

  for (const auto& [index, phrase] : phrases) {
    const auto it = spoken.find(index);
    SoundSpec sound;
    if (PhraseSound(phrase, it != spoken.end() ? &it->second : nullptr, sound, content.errors))
      content.phrases[index] = sound;
  }
  for (int hundred = 1; hundred <= kHundreds; ++hundred) {
    std::vector<SoundSpec> sounds;
    for (int index = (hundred - 1) * kTasksPerHundred + 1; index <= hundred * kTasksPerHundred; ++index)
      if (const auto it = content.phrases.find(index); it != content.phrases.end()) sounds.push_back(it->second);
    if (sounds.size() == kTasksPerHundred)
      content.packages[static_cast<std::size_t>(kCommentPackageCount + hundred - 1)] = std::move(sounds);
    else if (!sounds.empty())
      content.notes.append(QStringLiteral("tasks %1-%2 are not all written: no package zvq%3.cok")
                               .arg((hundred - 1) * kTasksPerHundred + 1)
                               .arg(hundred * kTasksPerHundred)
                               .arg(hundred));
  }

  for (std::size_t i = 0; i < kCommentCategories.size(); ++i) {
    const QString rel = QStringLiteral("comments/%1.txt").arg(QLatin1String(kCommentCategories[i]));
    const auto data = ReadFile(contentDir.filePath(rel));
    if (!data) {
      content.notes.append(
          QStringLiteral("content/%1 is missing: no package zv%2.cok").arg(rel, QLatin1String(kCommentCategories[i])));
      continue;
    }
    content.packages[i] = ParseComments(QStringLiteral("content/") + rel, *data, content.errors);
  }
  return content;
}

}  // namespace zv::soundbuild
