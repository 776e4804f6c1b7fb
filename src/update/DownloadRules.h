#pragma once
// The decisions of a download, apart from moving the bytes: how a transfer's end becomes the
// routine's result, what the server is told the agent is, how much body is accepted, and the
// progress bar's range.
//
// Results: the number of bytes written; −1 when the address could not be opened (no
// destination file is left). A download with the first-line check yields 0 when the file's
// first line holds no web address. A transfer that failed (a read error, a body cut short, a
// time-out, a redirect loop) or that ran far past what was expected is a failed download: its
// file is deleted and it yields 0, so nothing half-written is ever used. A cancelled transfer
// yields the bytes counted before the cancel (the chunk in hand is not counted) and its file
// is deleted.

#include <QByteArray>
#include <QString>

#include <bitset>

namespace zv {

inline constexpr qint64 kDownloadChunkBytes = 10240;
inline constexpr int kMaxRedirects = 5;
// A body of unknown expected size (an index, an item whose size did not parse) stops here.
inline constexpr qint64 kMaxUnsizedDownload = qint64{256} << 20;
inline constexpr const char16_t* kDownloadFailedText = u"Загрузка не удалась";

enum class TransferEnd {
  Complete,   // the body arrived whole
  NotOpened,  // no connection to the address
  Failed,     // a read error, a truncated body, a time-out, too many redirects
  TooLarge,   // the body passed BodyLimit and was cut off
  Cancelled,  // the user's cancel, between two chunks
};

struct TransferReport {
  TransferEnd end = TransferEnd::Complete;
  qint64 bytes = 0;  // written to the destination file
};

enum class FirstLineCheck { Off, On };

struct DownloadVerdict {
  qint64 result = 0;
  bool keepFile = false;       // otherwise the destination file is deleted (or never made)
  bool reportFailure = false;  // the window shows kDownloadFailedText
  bool usable() const { return keepFile && result > 0; }
};

// `firstLinePasses`: PassesFirstLineCheck of the file's start; looked at only with the check on.
DownloadVerdict JudgeDownload(const TransferReport& report, FirstLineCheck check, bool firstLinePasses);

// How many body bytes an item expected to be `expected` bytes long may bring: its size is
// given in whole kilobytes, so some slack, but a body far larger is a hostile or broken server.
qint64 BodyLimit(qint64 expected);

// The progress bar's maximum: one step per chunk of the expected size.
int ProgressMaximum(qint64 expected);

// The User-Agent header from the client identification string: printable ASCII kept, anything
// else (a line break that would start another header, non-ASCII letters of an OS name) becomes
// "?".
QByteArray UserAgent(const QString& clientId);

// The downloaded marks of the first 256 list positions; positions beyond have none.
class DownloadedMarks {
 public:
  void Set(int position);
  bool IsSet(int position) const;
  void Clear() { m_bits.reset(); }

 private:
  std::bitset<256> m_bits;
};

}  // namespace zv
