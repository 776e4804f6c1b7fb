#include "exam/HintPhrases.h"

#include "common/ProgramKey.h"
#include "platform/Registry.h"
#include "platform/RegistryGroup.h"
#include "tasks/SelectorStore.h"

#include <array>

namespace zv {
namespace {

const QString kKeyPath = QLatin1Char('\\') + ProgramKeyPath();

// The remark lists, 1-based in this order.
constexpr std::array<const char*, 13> kButtonRemarks = {
    "вперёд!",
    "дальше!",
    "короче!",
    "ладно ...",
    "о'кей!",
    "погнали!",
    "подумаешь!",
    "поехали!",
    "понятно",
    "проехали!",
    "угу",
    "усвоено",
    "ясно",
};

constexpr std::array<const char*, 111> kRightRemarks = {
    "ага",
    "аплодисменты",
    "без вариантов",
    "безупречно",
    "безусловно",
    "бесспорно",
    "блеск!",
    "будь по вашему",
    "в точку",
    "в яблочко!",
    "ведь можем!",
    "верно",
    "восхитительно",
    "вот-вот",
    "вот именно!",
    "вполне",
    "все согласны",
    "всегда бы так",
    "всё в масть",
    "всё в порядке",
    "всё верно",
    "всё нормально",
    "втянулись?",
    "вы правы",
    "где тренировались?",
    "гоже",
    "да, конечно",
    "да, так",
    "далеко пойдём",
    "действительно",
    "добротно",
    "достижение",
    "достойный ответ",
    "естественно",
    "есть очко!",
    "замечательно",
    "здорово!",
    "знали?",
    "золотая голова!",
    "и не иначе!",
    "именно!",
    "истину глаголите",
    "класс!",
    "классно",
    "конечно же",
    "крепи успех",
    "кто бы спорил",
    "легкота?",
    "лихо",
    "ловко",
    "логично",
    "молодец!",
    "мудро",
    "мысль верная",
    "наверно...",
    "не возгордись",
    "небезрезультатно",
    "неплохо",
    "несомненно",
    "ну дык!",
    "ну надо же!",
    "ответ принят",
    "отлично",
    "очень хорошо",
    "переведено",
    "пожалуй, так",
    "поздравления",
    "получилось",
    "попадание",
    "порядок!",
    "похвально",
    "похоже...",
    "правильно!",
    "прекрасно",
    "принимается",
    "прогресс",
    "пройдено",
    "проницательно",
    "просечено",
    "прочувствовано",
    "пусть так",
    "разумеется",
    "разумно",
    "расколото",
    "резонно",
    "результативно",
    "само собой!",
    "самое оно",
    "сильный ход",
    "славненько",
    "совершенно верно!",
    "сомнений нет",
    "схвачено верно",
    "так держать!",
    "так и есть",
    "так точно",
    "талант!",
    "точно!",
    "угу",
    "удачно",
    "удачный выбор",
    "умело",
    "умница!",
    "успешный шаг",
    "хорошо",
    "чётко",
    "что-то знакомое?",
    "чудесно",
    "это навык?",
    "это не ошибка",
    "это очевидно",
};

constexpr std::array<const char*, 144> kWrongRemarks = {
    "а зря!",
    "а кому легко?",
    "а подумать?",
    "а чё, смешно...",
    "безрезультатно",
    "бестолково",
    "бред",
    "буксуем",
    "в чём проблема?",
    "вздор",
    "вовсе нет",
    "вот те раз!",
    "вроде не сложно...",
    "всё наоборот",
    "где логика?",
    "где старание?",
    "глупости",
    "да нет же",
    "да ну...",
    "да ну?",
    "далеко...",
    "едва ли...",
    "ерунда",
    "если бы так!",
    "есть же нюансы",
    "есть изъян...",
    "заблуждение",
    "зачем же так?",
    "иллюзия правильности",
    "интересная трактовка",
    "как бы ни так!",
    "как же так?",
    "как это?",
    "караул",
    "конфуз",
    "кошмар",
    "криво",
    "кто бы мог подумать?",
    "кто поверит?",
    "ляп",
    "мимо",
    "моя твоя не понимай",
    "надоело?",
    "нарочно?",
    "наугад?",
    "не в кассу",
    "не в тему",
    "не в том смысле",
    "не вполне...",
    "не всякое лыко в строку",
    "не годится",
    "не додумано",
    "не идёт",
    "не из той оперы",
    "не лепится",
    "не логично",
    "не надо!",
    "не о том!",
    "не переведено",
    "не по силам?",
    "не подходит",
    "не пойдёт",
    "не получается",
    "не понято",
    "не принимается",
    "не так",
    "не то",
    "не туда...",
    "неаккуратно",
    "неверно",
    "невпопад",
    "негде тренироваться?",
    "негоже",
    "недопонимание",
    "неправильно",
    "недогляд",
    "нелепица",
    "неосторожно",
    "неразумно",
    "нет слов",
    "неудачно",
    "неудачный выбор",
    "нихт ферштейн",
    "ничего подобного",
    "ничего страшного",
    "ну вот...",
    "ну почему?",
    "ну уж...",
    "обидная ошибка",
    "облом",
    "общий смех",
    "ой ли?",
    "отвлеклись?",
    "отвратительно",
    "откуда такое?",
    "отнюдь",
    "очень небрежно",
    "ошибаетесь",
    "ошиблись кнопкой?",
    "ошибочка",
    "перемудрили",
    "плохой словарь?",
    "поаккуратней!",
    "повнимательней",
    "прогуливали уроки?",
    "прокол",
    "пролёт",
    "промах",
    "промашка",
    "прям уж!",
    "разве?",
    "с какой стати?",
    "самообман",
    "серьёзно?",
    "слабовато",
    "смех и слёзы",
    "совсем непохоже",
    "стоит запомнить",
    "странный ход",
    "так кажется",
    "так не пойдёт",
    "тормоза?",
    "торопиться вредно",
    "тускло выступаем",
    "ужас",
    "ужасно",
    "уже устали?",
    "уносит...",
    "фантазии...",
    "фиаско",
    "чепуха!",
    "чё?",
    "что за отношение?",
    "что-то не то",
    "чушь",
    "шаляй-валяй?",
    "шутка?",
    "это вряд ли",
    "это ещё почему?",
    "это как?",
    "это не так",
    "это сгоряча",
    "эх...",
    "явный промах",
};

constexpr std::array<const char*, 40> kTimeOutRemarks = {
    "ау!",
    "время!",
    "время вышло!",
    "время истекло",
    "время не ждёт",
    "всему своё время",
    "долго думаем!",
    "за работу!",
    "замедленная реакция",
    "звонок!",
    "можно побыстрее?",
    "момент потерян",
    "надо успевать!",
    "не горит?",
    "не отвлекаться!",
    "не спать!",
    "не судьба",
    "не тратьте время!",
    "нет ответа?",
    "ну сколько можно?",
    "ожидания были напрасны",
    "опоздавшие - в пролёте",
    "отвлеклись?",
    "очень медленно",
    "патовая ситуация",
    "поезд ушёл",
    "пошевеливаемся!",
    "прощёлкано",
    "регламент!",
    "сколько ещё ждать?",
    "слишком долго...",
    "спим?",
    "теряем время!",
    "тик-так!",
    "тишина...",
    "тормозить некогда!",
    "убийство времени",
    "уже пора бы",
    "фсё!",
    "чего резину тянуть?",
};
constexpr std::array<HintList, 4> kLists = {HintList::Button, HintList::Right, HintList::Wrong, HintList::TimeOut};

template <std::size_t N>
QString Item(const std::array<const char*, N>& list, int k) {
  if (k < 1 || k > static_cast<int>(N)) return {};
  return QString::fromUtf8(list[static_cast<std::size_t>(k - 1)]);
}

}  // namespace

HintColours ColoursOf(HintCase kind) {
  switch (kind) {
    case HintCase::Right:
      return {kHintRightColor, kHintRightFont};
    case HintCase::Wrong:
      return {kHintWrongColor, kHintWrongFont};
    case HintCase::TimeOut:
      break;
  }
  return {kHintTimeOutColor, kHintTimeOutFont};
}

QString UpperFirst(QString text) {
  if (!text.isEmpty() && text.front().isLower()) text.front() = text.front().toUpper();
  return text;
}

HintPhrases::HintPhrases(RandomSource& random)
    : m_button(Count(HintList::Button), false, kRecentWindow, random),
      m_right(Count(HintList::Right), false, kRecentWindow, random),
      m_wrong(Count(HintList::Wrong), false, kRecentWindow, random),
      m_timeOut(Count(HintList::TimeOut), false, kRecentWindow, random) {}

int HintPhrases::Count(HintList list) {
  switch (list) {
    case HintList::Button:
      return static_cast<int>(kButtonRemarks.size());
    case HintList::Right:
      return static_cast<int>(kRightRemarks.size());
    case HintList::Wrong:
      return static_cast<int>(kWrongRemarks.size());
    case HintList::TimeOut:
      return static_cast<int>(kTimeOutRemarks.size());
  }
  return 0;
}

QString HintPhrases::ValueName(HintList list) {
  switch (list) {
    case HintList::Button:
      return QStringLiteral("HeartOC");
    case HintList::Right:
      return QStringLiteral("HeartYC");
    case HintList::Wrong:
      return QStringLiteral("HeartNC");
    case HintList::TimeOut:
      return QStringLiteral("HeartTC");
  }
  return {};
}

QString HintPhrases::Phrase(HintList list, int k) {
  switch (list) {
    case HintList::Button:
      return Item(kButtonRemarks, k);
    case HintList::Right:
      return Item(kRightRemarks, k);
    case HintList::Wrong:
      return Item(kWrongRemarks, k);
    case HintList::TimeOut:
      return Item(kTimeOutRemarks, k);
  }
  return {};
}

TSmartRand& HintPhrases::Selector(HintList list) {
  switch (list) {
    case HintList::Button:
      return m_button;
    case HintList::Right:
      return m_right;
    case HintList::Wrong:
      return m_wrong;
    case HintList::TimeOut:
      break;
  }
  return m_timeOut;
}

void HintPhrases::Load(Registry& registry) {
  // A failure ends the group: the selectors not yet read stay fresh.
  InKeyGroup(registry, kKeyPath, KeyOpening::Existing, [&] {
    for (HintList list : kLists) LoadUsedState(registry, ValueName(list), Selector(list), SizeRule::HalfWordRule);
  });
}

void HintPhrases::Save(Registry& registry) {
  // A failure ends the group: the states not yet written keep their old stored values.
  InKeyGroup(registry, kKeyPath, KeyOpening::CreateIfMissing, [&] {
    for (HintList list : kLists) SaveUsedState(registry, ValueName(list), Selector(list));
  });
}

QString HintPhrases::DrawFrom(HintList list) { return UpperFirst(Phrase(list, Selector(list).DrawNew())); }

HintShowing HintPhrases::Draw(HintCase kind) {
  HintShowing s;
  s.kind = kind;
  s.buttonCaption = DrawFrom(HintList::Button);
  switch (s.kind) {
    case HintCase::Wrong:
      s.remark = DrawFrom(HintList::Wrong);
      s.showsInterpretation = true;
      s.comment = SoundCategory::Wrong;
      break;
    case HintCase::Right:
      s.remark = DrawFrom(HintList::Right);
      s.showsInterpretation = false;
      s.comment = SoundCategory::Right;
      break;
    case HintCase::TimeOut:
      s.remark = DrawFrom(HintList::TimeOut);
      s.showsInterpretation = true;
      s.comment = SoundCategory::TimeOut;
      break;
  }
  return s;
}

}  // namespace zv
