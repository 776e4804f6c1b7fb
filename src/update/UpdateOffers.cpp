#include "update/UpdateOffers.h"

namespace zv {

using namespace Qt::StringLiterals;

bool IsPlainFileName(QStringView name) {
  if (name.isEmpty() || name.size() > 64) return false;
  if (name.front() == u'.' || name.front() == u'-' || name.contains(u".."_s)) return false;
  for (const QChar c : name) {
    const char16_t u = c.unicode();
    const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
                       u == u'.' || u == u'_' || u == u'-';
    if (!plain) return false;
  }
  return true;
}

bool IsOffered(const IndexItem& item, const InstalledVersions& installed) {
  if (!IsPlainFileName(item.fileName)) return false;
  const qint64 ahead = qint64{item.version} - installed.build;
  if (item.id == u"shell"_s) return (ahead >= 1 && ahead <= 255) || (ahead > 256 && !installed.allVoicedPresent);
  if (item.id == u"shellandsound"_s) return ahead > 256 && installed.allVoicedPresent;
  const std::optional<int> package = PackageIndex(item.id);
  return package && installed.packageCounts[std::size_t(*package)] < item.version;
}

UpdateOffer OfferUpdates(const UpdateIndex& index, const InstalledVersions& installed) {
  UpdateOffer offer;
  for (const IndexEntry& entry : index.entries) {
    if (const auto* news = std::get_if<IndexNews>(&entry)) {
      offer.news = news->text;
    } else if (const auto* item = std::get_if<IndexItem>(&entry)) {
      if (!IsOffered(*item, installed)) continue;
      offer.items.push_back({item->fileName, item->size, item->caption});
      if (item->important) {
        offer.important = true;
        break;
      }
    } else {
      offer.unreadableVersionOf = std::get<UnreadableVersion>(entry).id;
      break;
    }
  }
  return offer;
}

QString OfferHeadline(const UpdateOffer& offer) {
  switch (offer.items.size()) {
    case 0:
      return u"У Вас установлена самая современная версия программы.\r\nПовторите эту проверку позже."_s;
    case 1:
      return offer.important ? u"Установите это важное обновление. Затем проверьте, нет ли ещё обновлений."_s
                             : u"Имеется одно обновление:"_s;
    default:
      return u"Выберите желаемые позиции:"_s;
  }
}

QString UnreadableVersionEnglish(const QString& id) { return u"Version info of "_s + id + u" is not available"_s; }
QString UnreadableVersionRussian(const QString& id) { return u"Не удаётся прочитать информацию о версии "_s + id; }

}  // namespace zv
