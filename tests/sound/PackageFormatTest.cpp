// The package format: what the builder writes is what the reader reads back, the scrambling
// leaves its fixed words alone, and a package's head is exactly the bytes packages on disk hold.

#include <gtest/gtest.h>

#include "sound/PackageFile.h"
#include "sound/PackageFormat.h"
#include "support/RowName.h"

#include <QBuffer>

#include <functional>

namespace {

using namespace zv;

// A sound of `size` bytes whose bytes all differ from their neighbours, so any swap shows.
QByteArray Distinct(int size, int salt = 0) {
  QByteArray bytes;
  for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((i * 7 + salt * 13 + 1) & 0xFF));
  return bytes;
}

PackageInspection Inspect(const QByteArray& file, bool voiced) {
  QByteArray copy = file;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return InspectPackage(buffer, voiced);
}

QByteArray Read(const QByteArray& file, bool voiced, int index) {
  QByteArray copy = file;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return ReadPackageSound(buffer, voiced, index);
}

struct RoundTripRow {
  const char* name;
  int version;
  bool voiced;
  int hundred;
};

class PackageRoundTrip : public testing::TestWithParam<RoundTripRow> {};

TEST_P(PackageRoundTrip, EverySoundComesBackUnscrambled) {
  const RoundTripRow row = GetParam();
  PackageContent content;
  content.version = row.version;
  content.voiced = row.voiced;
  content.hundred = row.hundred;
  const int sounds = row.voiced ? kVoicedPerPackage : 5;
  content.count = static_cast<std::uint16_t>(row.voiced ? 7 : sounds);
  for (int j = 0; j < sounds; ++j) content.sounds.push_back(Distinct(15 + 37 * (j % 9), j));

  const QByteArray file = BuildPackage(content);
  EXPECT_EQ(file, BuildPackage(content)) << "the build must be deterministic";
  const PackageInspection inspection = Inspect(file, row.voiced);
  ASSERT_EQ(inspection.status, PackageStatus::Intact);
  EXPECT_EQ(inspection.head.version, row.version);
  EXPECT_EQ(inspection.head.count, content.count);
  EXPECT_EQ(inspection.head.offsetWidth, row.version == 1 ? 3 : 4);
  for (int j = 0; j < sounds; ++j) {
    const int index = row.voiced ? row.hundred * 100 + j : j;
    EXPECT_EQ(Read(file, row.voiced, index), content.sounds[static_cast<std::size_t>(j)]) << "sound " << j;
  }
  // The sounds are stored scrambled: at least one long sound differs on disk.
  EXPECT_FALSE(file.contains(content.sounds[8])) << "sound 8 is stored in the clear";
}

INSTANTIATE_TEST_SUITE_P(Package, PackageRoundTrip,
                         testing::Values(RoundTripRow{"comments_version_1", 1, false, 0},
                                         RoundTripRow{"comments_version_34", 34, false, 0},
                                         RoundTripRow{"voiced_version_1_first_hundred", 1, true, 0},
                                         RoundTripRow{"voiced_version_34_hundred_13", 34, true, 12}),
                         zv::test::RowName{});

TEST(PackageFormat, EmptyPackagesAreTheBytesOnDisk) {
  // Worked by hand: checksum = seed + sum of byte[k] x (k + 1) over head and table.
  PackageContent v1;
  v1.version = 1;
  EXPECT_EQ(BuildPackage(v1).toHex(),
            QByteArray("5a565350010000110000"
                       "0d0000"
                       "9f0b0000"));
  PackageContent v34;
  v34.version = 34;
  EXPECT_EQ(BuildPackage(v34).toHex(),
            QByteArray("5a56535022000013000000"
                       "0f000000"
                       "5c0c0000"));
}

TEST(PackageFormat, FileNamesInLoadOrder) {
  EXPECT_EQ(PackageFileName(0), QStringLiteral("zvy.cok"));
  EXPECT_EQ(PackageFileName(7), QStringLiteral("zvm5.cok"));
  EXPECT_EQ(PackageFileName(10), QStringLiteral("zvs.cok"));
  EXPECT_EQ(PackageFileName(11), QStringLiteral("zvq1.cok"));
  EXPECT_EQ(PackageFileName(25), QStringLiteral("zvq15.cok"));
  EXPECT_TRUE(PackageFileName(26).isEmpty());
  EXPECT_EQ(PackageFileName(VoicedPackageOf(1234)), QStringLiteral("zvq13.cok"));
  EXPECT_EQ(PackageFileName(VoicedPackageOf(1300)), QStringLiteral("zvq13.cok"));
  EXPECT_EQ(PackageFileName(VoicedPackageOf(1301)), QStringLiteral("zvq14.cok"));
}

TEST(PackageFormat, TaskSoundIsTheTaskIndexWithinItsHundred) {
  // Task 1234 is sound 33 of zvq13.cok, read with the index 1233.
  PackageContent content;
  content.voiced = true;
  content.count = 1;
  content.hundred = 12;
  for (int j = 0; j < 100; ++j) content.sounds.push_back(Distinct(40 + j, j));
  const QByteArray file = BuildPackage(content);
  EXPECT_EQ(Read(file, true, 1233), content.sounds[33]);
  // A voiced sound's seed depends on its task, not only its place in the package.
  EXPECT_NE(SoundSeed(34, true, 1233), SoundSeed(34, true, 33));
}

TEST(PackageFormat, VoicedSeedIsThePowerOfTheFirstKey) {
  EXPECT_EQ(SoundSeed(34, true, -kVoicedTaskSeedOffset), 1u);
  EXPECT_EQ(SoundSeed(1, true, 1 - kVoicedTaskSeedOffset), kPackageKey1);
  EXPECT_EQ(SoundSeed(34, true, 500), SoundSeed(34, true, 499) * kPackageKey1);
  EXPECT_EQ(SoundSeed(1, false, 500), kPackageKey1);
  EXPECT_EQ(SoundSeed(34, false, 500), kPackageKey2);
}

struct ScrambleRow {
  const char* name;
  int size;
  std::vector<int> mayChange;  // word numbers that a seed of all ones may swap
};

class ScrambleEdges : public testing::TestWithParam<ScrambleRow> {};

TEST_P(ScrambleEdges, OnlyTheMiddleWordsMaySwap) {
  const ScrambleRow row = GetParam();
  const QByteArray original = Distinct(row.size);
  QByteArray sound = original;
  ScrambleSound(sound, ~std::uint64_t{0}, kPackageKey2);
  for (int word = 0; word < (row.size + 1) / 2; ++word) {
    const bool allowed = std::find(row.mayChange.begin(), row.mayChange.end(), word) != row.mayChange.end();
    if (!allowed) {
      EXPECT_EQ(sound.mid(2 * word, 2), original.mid(2 * word, 2)) << "word " << word;
    }
  }
  // A seed of all ones swaps the first word it reaches.
  if (!row.mayChange.empty()) {
    EXPECT_NE(sound.mid(16, 2), original.mid(16, 2));
  }
  ScrambleSound(sound, ~std::uint64_t{0}, kPackageKey2);
  EXPECT_EQ(sound, original) << "scrambling twice must give the sound back";
}

std::vector<int> Range(int from, int to) {
  std::vector<int> words;
  for (int i = from; i <= to; ++i) words.push_back(i);
  return words;
}

INSTANTIATE_TEST_SUITE_P(Sound, ScrambleEdges,
                         testing::Values(ScrambleRow{"eight_words_untouched", 15, {}},
                                         ScrambleRow{"nine_words_untouched", 18, {}},
                                         ScrambleRow{"ten_words_only_word_8", 20, {8}},
                                         ScrambleRow{"odd_last_byte_is_a_word", 19, {8}},
                                         // Bits 64..126 of the seed count as clear.
                                         ScrambleRow{"words_64_to_126_untouched",
                                                     300,
                                                     [] {
                                                       std::vector<int> words = Range(8, 63);
                                                       for (int w : Range(127, 148)) words.push_back(w);
                                                       return words;
                                                     }()}),
                         zv::test::RowName{});

// Hostile packages: a four-sound comment package (version 34: the table is entries 0..4 at
// bytes 7..26) patched so that its table lies. Nothing may be read from outside the file.
QByteArray Patched(std::function<void(QByteArray&)> patch) {
  PackageContent content;
  content.count = 4;
  for (int j = 0; j < 4; ++j) content.sounds.push_back(Distinct(30, j));
  QByteArray file = BuildPackage(content);
  patch(file);
  return file;
}

void PutEntry(QByteArray& file, int entry, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[7 + 4 * entry + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct HostileRow {
  const char* name;
  std::function<void(QByteArray&)> patch;
  int index;  // the sound asked for
  PackageStatus status;
};

class HostilePackage : public testing::TestWithParam<HostileRow> {};

TEST_P(HostilePackage, NothingIsReadFromOutsideTheFile) {
  const HostileRow& row = GetParam();
  const QByteArray file = Patched(row.patch);
  EXPECT_EQ(Inspect(file, false).status, row.status);
  EXPECT_TRUE(Read(file, false, row.index).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Package, HostilePackage,
    testing::Values(
        HostileRow{"count_past_the_table", [](QByteArray& f) { f[6] = 0x7F; }, 3000, PackageStatus::Corrupt},
        HostileRow{"count_zero", [](QByteArray& f) { f[5] = 0; }, 0, PackageStatus::Corrupt},
        HostileRow{"decreasing_entries", [](QByteArray& f) { PutEntry(f, 2, 40); }, 1, PackageStatus::Corrupt},
        HostileRow{"sound_longer_than_the_file",
                   [](QByteArray& f) { PutEntry(f, 3, 0xFFFFFFF0u); },
                   2,
                   PackageStatus::Corrupt},
        HostileRow{"sound_ends_one_past_the_file",
                   [](QByteArray& f) { PutEntry(f, 4, static_cast<std::uint32_t>(f.size() + 1)); },
                   3,
                   PackageStatus::Corrupt},
        HostileRow{"negative_index", [](QByteArray&) {}, -1, PackageStatus::Intact},
        HostileRow{"index_past_the_count", [](QByteArray&) {}, 4, PackageStatus::Intact},
        HostileRow{"cut_inside_the_table", [](QByteArray& f) { f.truncate(12); }, 1, PackageStatus::Corrupt},
        HostileRow{"first_entry_before_the_head", [](QByteArray& f) { PutEntry(f, 0, 3); }, 5, PackageStatus::Corrupt},
        HostileRow{
            "first_entry_past_the_end", [](QByteArray& f) { PutEntry(f, 0, 0xFFFFFFFFu); }, 5, PackageStatus::Corrupt}),
    zv::test::RowName{});

TEST(PackageFormat, ZeroCountPackagePassesItsChecksButHoldsNothing) {
  PackageContent content;
  content.count = 0;
  const QByteArray file = BuildPackage(content);
  EXPECT_EQ(Inspect(file, false).status, PackageStatus::Intact);
  EXPECT_TRUE(Read(file, false, 0).isEmpty());
}

}  // namespace
