#include "tasks/TSmartRand.h"

#include "platform/MessageBox.h"

#include <bit>

namespace zv {
namespace {

constexpr TSmartRand::Word kFull = 0xFFFFFFFFu;

constexpr TSmartRand::Word Bit(int b) { return TSmartRand::Word(1) << b; }

void AppendHexByte(QByteArray& out, unsigned v) {
  static const char kDigits[] = "0123456789ABCDEF";
  out.append(kDigits[(v >> 4) & 0xF]);
  out.append(kDigits[v & 0xF]);
}

}  // namespace

TSmartRand::TSmartRand(int n, bool tracksDone, int recentWindow, RandomSource& random) : m_random(random) {
  if (n <= 0 || recentWindow < 0) {
    ShowMessageBox({QStringLiteral("index<=0"), QStringLiteral("SmartRand"), MsgIcon::Warning, MsgButtons::Ok, false});
  }
  Count = n;
  TailBits = n > 0 ? n % 32 : 0;
  Words = n > 0 ? n / 32 + (TailBits != 0 ? 1 : 0) : 0;
  Wrapped = false;
  HasRecent = recentWindow > 0;
  if (HasRecent) {
    Recent.assign(static_cast<std::size_t>(recentWindow), 0);
    RecentPos = 0;
  }
  CandidatesStale = true;
  Used.assign(static_cast<std::size_t>(Words), 0);
  Reset(false);
  TracksDone = tracksDone;
  if (TracksDone) {
    Done.assign(static_cast<std::size_t>(Words), 0);
    DoneCount = 0;
  }
}

void TSmartRand::SetTailBits() {
  if (TailBits != 0 && Words > 0) Used.back() |= kFull << TailBits;
}

void TSmartRand::ClearTailBits() {
  if (TailBits != 0 && Words > 0) Used.back() &= ~(kFull << TailBits);
}

void TSmartRand::ClearDone() {
  std::fill(Done.begin(), Done.end(), 0);
  DoneCount = 0;
}

void TSmartRand::Reset(bool full) {
  std::fill(Used.begin(), Used.end(), 0);
  SetTailBits();
  if (full) Wrapped = false;
  if (!full && HasRecent) {
    for (int k : Recent)
      if (k != 0) MarkUsed(k);
  }
  if (TracksDone) ClearDone();
}

int TSmartRand::DrawNew() {
  if (Words == 0) return 0;
  int tries = 8 * Words;
  int w = 0;
  do {
    if (--tries == 0) {
      Reset(true);
      ClearDone();
      Wrapped = true;
    }
    w = m_random.Uniform(Words);
  } while (Used[static_cast<std::size_t>(w)] == kFull);
  Word& word = Used[static_cast<std::size_t>(w)];
  int b = 0;
  do {
    b = m_random.Uniform(32);
  } while (word & Bit(b));
  word |= Bit(b);
  const int result = 32 * w + b + 1;
  if (HasRecent) {
    Recent[static_cast<std::size_t>(RecentPos)] = result;
    if (++RecentPos > static_cast<int>(Recent.size()) - 1) RecentPos = 0;
  }
  if (!CandidatesStale) {
    CandidatesStale = true;
    Candidates.clear();
    Candidates.shrink_to_fit();
  }
  Last = result;
  return result;
}

bool TSmartRand::RebuildCandidates() {
  ClearTailBits();
  CandidatesStale = false;
  Candidates = Used;
  bool any = false;
  for (std::size_t i = 0; i < Candidates.size(); ++i) {
    if (TracksDone) Candidates[i] &= ~Done[i];
    any = any || Candidates[i] != 0;
  }
  SetTailBits();
  return any;
}

int TSmartRand::FailDrawUsed() {
  ShowMessageBox({QString::fromUtf8("Ошибка программы.\r\nНормальная работа не гарантируется."),
                  QStringLiteral("TSmartRand"),
                  MsgIcon::Warning,
                  MsgButtons::Ok,
                  true});
  if (!Candidates.empty()) Candidates[0] &= ~Bit(0);
  Last = 1;
  return 1;
}

int TSmartRand::DrawUsed() {
  if (Words == 0) return FailDrawUsed();
  if (CandidatesStale && !RebuildCandidates()) return FailDrawUsed();
  int tries = 8 * Words;
  int w = 0;
  do {
    if (--tries == 0) {
      if (!RebuildCandidates()) return FailDrawUsed();
      tries = 8 * Words;
    }
    w = m_random.Uniform(Words);
  } while (Candidates[static_cast<std::size_t>(w)] == 0);
  Word& word = Candidates[static_cast<std::size_t>(w)];
  int b = 0;
  do {
    b = m_random.Uniform(32);
  } while (!(word & Bit(b)));
  word &= ~Bit(b);
  Last = 32 * w + b + 1;
  return Last;
}

void TSmartRand::MarkDone() {
  if (!TracksDone || !InRange(Last)) return;
  const int b = Last - 1;
  const auto w = static_cast<std::size_t>(b / 32);
  if (w < Candidates.size()) Candidates[w] &= ~Bit(b % 32);
  // Counted once even if the same item is marked twice, so DoneCount stays the size of Done.
  if (!(Done[w] & Bit(b % 32))) {
    Done[w] |= Bit(b % 32);
    ++DoneCount;
  }
}

void TSmartRand::Unmark(int k) {
  if (InRange(k)) Used[static_cast<std::size_t>((k - 1) / 32)] &= ~Bit((k - 1) % 32);
}

void TSmartRand::MarkUsed(int k) {
  if (InRange(k)) Used[static_cast<std::size_t>((k - 1) / 32)] |= Bit((k - 1) % 32);
}

bool TSmartRand::IsUsed(int k) const {
  return InRange(k) && (Used[static_cast<std::size_t>((k - 1) / 32)] & Bit((k - 1) % 32));
}

bool TSmartRand::IsDone(int k) const {
  return TracksDone && InRange(k) && (Done[static_cast<std::size_t>((k - 1) / 32)] & Bit((k - 1) % 32));
}

int TSmartRand::CountUsed() const {
  int n = 0;
  for (Word w : Used) n += std::popcount(w);
  if (TailBits > 0) n -= 32 - TailBits;
  return n;
}

void TSmartRand::CountDone() {
  for (Word w : Done) DoneCount += std::popcount(w);
}

void TSmartRand::WriteHex(std::vector<Word>& set, QByteArray& out) {
  ClearTailBits();
  out.append("=hex:");
  for (int p = 1; p <= Words; ++p) {
    const Word w = set[static_cast<std::size_t>(p - 1)];
    for (int byte = 0; byte < 4; ++byte) {
      if (byte > 0) out.append(',');
      AppendHexByte(out, (w >> (8 * byte)) & 0xFF);
    }
    if (p != Words) {
      out.append(',');
      if (p % 8 == 0) out.append("\\\r\n");
    }
  }
  out.append("\r\n");
  SetTailBits();
}

void TSmartRand::WriteUsedHex(QByteArray& out) { WriteHex(Used, out); }

void TSmartRand::WriteDoneHex(QByteArray& out) {
  std::vector<Word> copy = Done;
  copy.resize(static_cast<std::size_t>(Words), 0);
  WriteHex(copy, out);
}

static QByteArray ToBytes(const std::vector<TSmartRand::Word>& set) {
  QByteArray out;
  out.reserve(static_cast<qsizetype>(set.size() * 4));
  for (TSmartRand::Word w : set)
    for (int byte = 0; byte < 4; ++byte) out.append(static_cast<char>((w >> (8 * byte)) & 0xFF));
  return out;
}

static void FromBytes(std::vector<TSmartRand::Word>& set, QByteArrayView bytes) {
  const auto n = std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), set.size() * 4);
  for (std::size_t i = 0; i < n; ++i) {
    auto& w = set[i / 4];
    const int shift = static_cast<int>(8 * (i % 4));
    w = (w & ~(TSmartRand::Word(0xFF) << shift)) |
        (TSmartRand::Word(static_cast<unsigned char>(bytes[static_cast<qsizetype>(i)])) << shift);
  }
}

QByteArray TSmartRand::UsedBytes() {
  ClearTailBits();
  QByteArray out = ToBytes(Used);
  SetTailBits();
  return out;
}

QByteArray TSmartRand::DoneBytes() const {
  std::vector<Word> copy = Done;
  copy.resize(static_cast<std::size_t>(Words), 0);
  return ToBytes(copy);
}

void TSmartRand::LoadUsedBytes(QByteArrayView bytes) {
  FromBytes(Used, bytes);
  SetTailBits();
  CandidatesStale = true;
}

void TSmartRand::LoadDoneBytes(QByteArrayView bytes) {
  if (!TracksDone) return;
  FromBytes(Done, bytes);
  // A stored set with bits past item N (a hostile or foreign value) must not count them.
  if (TailBits != 0 && !Done.empty()) Done.back() &= ~(kFull << TailBits);
  CandidatesStale = true;
}

}  // namespace zv
