#pragma once
// The sound package format, shared by the trainer's reader and the package builder.
//
// A package "zv" + category + ".cok" holds the recorded sounds of one comment category or of
// one hundred voiced tasks. Layout (little-endian, unsigned):
//
//   0        4            not examined (the builder writes "ZVSP")
//   4        1            version: 1 (offsets of e = 3 bytes) or 34 (e = 4)
//   5        2            count: number of sounds M (comments) or revision (voiced; M is 100)
//   7        e x (M + 1)  offset table: sound j is the bytes [entry j, entry j + 1)
//   entry0-e-4  e         length field: file size - 4
//   entry0-4    4         checksum over the first 7 + e x (M + 1) bytes
//   entry0   ...          the sounds, each scrambled by ScrambleSound
//
// Each sound is a complete encoded sound file (Ogg Opus from the builder).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zv {

inline constexpr std::uint32_t kPackageKey1 = 0x5A3C96E1u;  // version 1
inline constexpr std::uint32_t kPackageKey2 = 0x71C2D48Bu;  // version 34
// Added to the task index (0-based) before K1 is raised to it: the seed of a voiced task.
inline constexpr int kVoicedTaskSeedOffset = 7717;

inline constexpr int kPackageCount = 26;         // load indices 0..25
inline constexpr int kCommentPackageCount = 11;  // 0..10 comments, 11..25 voiced tasks
inline constexpr int kVoicedPerPackage = 100;

struct PackageContent {
  int version = 34;                // 1 or 34
  std::uint16_t count = 0;         // comment package: number of sounds; voiced package: revision (>= 1)
  bool voiced = false;             // voiced-task package (exactly 100 sounds) or comment package
  int hundred = 0;                 // voiced only: K - 1 for zvqK.cok (task indices 100*hundred+1 .. +100)
  std::vector<QByteArray> sounds;  // each a complete encoded sound file (Ogg Opus), unscrambled
};

// The whole file, byte for byte deterministic. A voiced package holds exactly 100 sounds, a
// comment package `count` sounds; the caller keeps to that (the sounds vector decides the table).
QByteArray BuildPackage(const PackageContent& content);

// "zvy.cok" ... "zvs.cok", "zvq1.cok" ... "zvq15.cok" for load index 0..25; empty otherwise.
QString PackageFileName(int category);
// "y", "f", "m0" .. "m5", "n", "t", "s", "q1" .. "q15".
QString PackageCategoryName(int category);
inline bool IsVoicedPackage(int category) { return category >= kCommentPackageCount && category < kPackageCount; }
// The package of a task (1..1500): q((task - 1) / 100 + 1), load index 11..25.
inline int VoicedPackageOf(int taskIndex) { return kCommentPackageCount + (taskIndex - 1) / kVoicedPerPackage; }

// --- What the reader needs ----------------------------------------------------------------

// Width of an offset for a version, 0 for an unknown version.
int OffsetWidth(int version);
std::uint32_t PackageKey(int version);  // K1 for version 1, K2 otherwise
std::uint32_t ChecksumSeed(int version);

// The first seven bytes read: version, its offset width, the count field and the number of
// sounds the table holds. Empty when fewer than 7 bytes or the version is neither 1 nor 34.
struct PackageHead {
  int version = 0;
  int offsetWidth = 0;
  std::uint16_t count = 0;
  int sounds = 0;  // M: the count, or 100 for a voiced package
  // Bytes covered by the checksum: the head and the offset table.
  qint64 checkedLength() const { return 7 + qint64{offsetWidth} * (sounds + 1); }
};
std::optional<PackageHead> ParsePackageHead(QByteArrayView bytes, bool voiced);

// seed + sum of byte[k] x (k + 1), in 32-bit arithmetic.
std::uint32_t PackageChecksum(QByteArrayView bytes, int version);

// An unsigned little-endian number of `width` (1..4) bytes at `bytes`.
std::uint32_t ReadLittleEndian(QByteArrayView bytes, int width);

// The starting seed of a sound's scrambling: K1 to the power (index + D) for a voiced task
// (index = task index - 1), the package key for a comment.
std::uint64_t SoundSeed(int version, bool voiced, int index);

// Swaps the two bytes of 16-bit word i (8 <= i <= words - 2, and only when there are at least
// 10 words; an odd last byte counts as a word) where bit (i mod 127) of the running seed is
// set, the seed multiplied by the package key after each word. Its own inverse.
void ScrambleSound(QByteArray& sound, std::uint64_t seed, std::uint32_t key);

}  // namespace zv
