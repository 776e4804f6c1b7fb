#pragma once
// AboutContent: what the about window shows and opens, decided without widgets — the sound
// coverage text, the hints and credits as styled fragments, and the link targets. The window
// (ui/TAboutForm) only puts these on its controls.

#include "sound/SoundService.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace zv {

// The coverage label's text, how much taller the label grows for the extra lines, and whether
// it carries the hint to use the internet update.
struct CoverageText {
  QString text;
  int labelGrowth = 0;  // pixels: 12 for "none voiced", 24 for the list of missing hundreds
  QString hint;  // the label's tooltip: empty, or the advice to use the internet update
};

// A category without a single comment counts as a missing comment package.
CoverageText BuildCoverageText(const SoundCoverage& coverage);

// "all", "no", or the voiced hundreds times 100 ("1300").
QString VoicedState(const SoundCoverage& coverage);

// "mailto:" + address + "?subject=" + the escaped client identification string, the voiced
// state and the comment count, every blank written as "%20".
QString MailTarget(const QString& address, const QString& escapedClientId, const SoundCoverage& coverage);
// The web site shown without its scheme; the support page of the host in the user's language.
QString WebTarget(const QString& site);
QString GrantTarget(const QString& supportHost, bool russianLocale);

// The authored texts of content/about, one item per line.
struct AboutCredits {
  QStringList hints;
  QStringList sources;
  QStringList performers;
  QStringList helpers;
};

// One item per line; blank lines and lines starting with '#' are skipped, items are trimmed.
QStringList ParseAboutItems(const QByteArray& utf8);
// Reads hints.txt, sources.txt, performers.txt and helpers.txt of `folder` (":/about" holds the
// built-in copy); a missing file gives an empty list.
AboutCredits LoadAboutCredits(const QString& folder);

// A run of text in one style. Colours are 0xRRGGBB; 0 is the document's default (black).
struct AboutFragment {
  QString text;  // "\n" ends a paragraph
  std::uint32_t colour = 0;
  bool bold = false;
  bool italic = false;
  bool bulleted = false;  // the paragraphs this text writes are bullet points
  bool operator==(const AboutFragment&) const = default;
};

inline constexpr std::uint32_t kCreditNavy = 0x000080;
inline constexpr std::uint32_t kCreditBlue = 0x0000FF;
inline constexpr std::uint32_t kCreditGreen = 0x008000;
inline constexpr std::uint32_t kCreditPurple = 0x800080;

// The hints and credits in the order the window writes them: each heading, then its items.
std::vector<AboutFragment> BuildAboutFragments(const AboutCredits& credits);

// Build options: the caption's notice and the addresses of the project.
struct AboutAddresses {
  QString notice;       // the window caption
  QString webSite;      // shown by the web link, without "http://"
  QString mailAddress;  // the author's address
  QString supportHost;  // host of the support pages "/GrantRus/" and "/GrantEng/"
  QString socialPage;   // the program's page on the social network, a whole URL
};
AboutAddresses BuiltAboutAddresses();

}  // namespace zv
