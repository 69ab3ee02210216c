#include "ui/main/AdRotation.h"

#include <QUrl>

namespace kivtal {

std::optional<int> AdRotation::TakeNext() {
    if (ads_.empty()) return std::nullopt;
    if (next_ >= Count() || next_ < 0) next_ = 0;
    return next_++;
}

const TalAd* AdRotation::At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &ads_[static_cast<std::size_t>(index)];
}

QString AdRotation::ClickTarget(std::optional<int> index, const QString& fallback) const {
    const TalAd* ad = index ? At(*index) : nullptr;
    if (!ad) return fallback;
    const QUrl url(QString::fromStdString(ad->jump_url).trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https")) return fallback;
    return url.toString();
}

}  // namespace kivtal
