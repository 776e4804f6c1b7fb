// zvcontent: checks the authored content and writes the generated C++ that holds it.
//   zvcontent [--draft] CONTENT_DIR OUTPUT.cpp
// Every breach of a content rule is printed as file:line: error: message and fails the run;
// missing task ranges are warnings while the bank is being written, and so are the rules the bank
// is still being revised to (the length and form giveaways, a repeated right answer, a spaced
// hyphen).
// Every run prints a summary of the bank: per file, the sizes, the registers, the best
// length-only guess against chance and the form guess nearest its limit. --draft (for a tree whose
// content is being written) still reports every error but writes the output, leaving out the
// tasks that cannot be stored.

#include "ContentRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

using namespace zv::content;

static std::optional<QByteArray> ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  return f.readAll();
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  const bool draft = args.removeAll(QStringLiteral("--draft")) > 0;
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: zvcontent [--draft] CONTENT_DIR OUTPUT.cpp\n");
    return 2;
  }
  const QDir dir(args[1]);
  Bank bank;
  NameList names;
  if (const auto data = ReadFile(dir.filePath(QStringLiteral("names.txt")))) names = ParseNames(*data);
  for (int hundred = 1; hundred <= 15; ++hundred) {
    const QString rel = QStringLiteral("tasks/q%1.tsv").arg(hundred, 2, 10, QLatin1Char('0'));
    if (const auto data = ReadFile(dir.filePath(rel)))
      ParseTaskFile(bank, QStringLiteral("content/") + rel, *data, hundred, names);
  }
  if (const auto data = ReadFile(dir.filePath(QStringLiteral("sayings.txt"))))
    ParseSayings(bank, QStringLiteral("content/sayings.txt"), *data);
  else
    bank.diagnostics.push_back({QStringLiteral("content/sayings.txt"), 0, QStringLiteral("missing"), true});
  CheckBank(bank);

  for (const QString& line : Summary(bank)) std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
  for (const Diagnostic& d : bank.diagnostics) std::fprintf(stderr, "%s\n", qPrintable(d.Format()));
  if (bank.HasErrors() && draft) {
    std::fprintf(stderr, "zvcontent: draft build: content has errors\n");
    DropUnstorableTasks(bank);
  } else if (bank.HasErrors()) {
    std::fprintf(stderr, "zvcontent: content has errors; nothing written\n");
    return 1;
  }
  const QByteArray cpp = EmitCpp(BuildTaskText(bank), BuildSayingsText(bank), BuildDisplayOrder(bank));
  QSaveFile out(args[2]);
  if (!out.open(QIODevice::WriteOnly) || out.write(cpp) != cpp.size() || !out.commit()) {
    std::fprintf(stderr, "zvcontent: cannot write %s\n", qPrintable(args[2]));
    return 1;
  }
  return 0;
}
