#pragma once
// TSmartRand: draws items 1..N so that nothing comes again before everything has come once,
// and remembers what was drawn across runs as a bit set of 32-bit words.
//
// Item k is bit (k-1) mod 32 of word (k-1) / 32. While in use, the bits past item N in the
// last word of Used ("tail bits") are set so that they never look free; they are cleared
// before the set is stored or written out. The tasks selector also keeps a Done set (items
// answered right in consolidation) and draws among used-but-not-done items with DrawUsed.
//
// The exhaustion test of DrawNew is statistical: after 8 x Words consecutive picks of a full
// word the selector starts again (at most once per draw), so it can start again while a few
// items are still free. Owners rely on that behaviour and on Wrapped to tell the user.

#include "platform/RandomSource.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

namespace zv {

class TSmartRand {
 public:
  using Word = std::uint32_t;

  // N items, a Done set when tracksDone, a ring of the last `recentWindow` new draws that a
  // non-full Reset keeps used. N <= 0 or a negative window shows the "index<=0" box; the
  // object is still built (with N <= 0 it has no words and every draw answers 0).
  TSmartRand(int n, bool tracksDone, int recentWindow, RandomSource& random);

  int DrawNew();
  // Consolidation: an item that is used but not done and not drawn since the last rebuild.
  int DrawUsed();
  void MarkDone();
  void Unmark(int k);
  void MarkUsed(int k);
  bool IsUsed(int k) const;
  bool IsDone(int k) const;
  int CountUsed() const;
  // Adds the set bits of Done to DoneCount (after Done was loaded into a fresh selector).
  void CountDone();
  void Reset(bool full);
  void ClearDone();
  void SetTailBits();
  void ClearTailBits();
  bool RebuildCandidates();

  // Registry-export text of a set: "=hex:" and the bytes of every word, with line
  // continuations after every 8th word, ending in CR LF. The owner writes the value name first.
  void WriteUsedHex(QByteArray& out);
  void WriteDoneHex(QByteArray& out);

  // Stored state: 4 x Words bytes, little-endian words, tail bits clear.
  QByteArray UsedBytes();
  QByteArray DoneBytes() const;
  // Overwrites the start of Used (or Done) with stored bytes; the caller has checked the size
  // rule. Used gets its tail bits set again; bits past N never enter Done.
  void LoadUsedBytes(QByteArrayView bytes);
  void LoadDoneBytes(QByteArrayView bytes);

  // Fields in their declared order; Words, Used, Done, Wrapped, DoneCount and Count are read
  // (and Wrapped cleared) by the owners.
  int Words = 0;
  std::vector<int> Recent;
  std::vector<Word> Candidates;
  int RecentPos = 0;
  bool CandidatesStale = true;
  bool HasRecent = false;
  int Count = 0;
  int TailBits = 0;
  int Last = 0;
  bool Wrapped = false;
  bool TracksDone = false;
  int DoneCount = 0;
  std::vector<Word> Used;
  std::vector<Word> Done;

 private:
  void WriteHex(std::vector<Word>& set, QByteArray& out);
  bool InRange(int k) const { return k >= 1 && k <= Count; }
  int FailDrawUsed();

  RandomSource& m_random;
};

}  // namespace zv
