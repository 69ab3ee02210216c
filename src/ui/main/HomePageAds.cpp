// The rotating advertisement of the main window.
#include "store/ContentStore.h"
#include "ui/main/HomePage.h"
#include "ui/main/HomePageControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlAttributes.h"

namespace kivtal {
namespace {

constexpr const char* kAdIndexProperty = "tag";
const QString kNoAdText = QStringLiteral("访问官方网站");

std::optional<int> ShownAdIndex(const QWidget* advert) {
    if (!advert) return std::nullopt;
    bool ok = false;
    const int index = advert->property(kAdIndexProperty).toInt(&ok);
    return ok ? std::optional<int>(index) : std::nullopt;
}

}  // namespace

void CHomePage::LoadAds() {
    TalAdList ads;
    ContentStore(store_).ReadAds(ads);
    ads_.Reset(std::move(ads));
    // Without an advertisement the box is still the link to the web site: it says so
    // rather than stand empty.
    SetControlText(FindControl(home_page::kAdvert), ads_.Empty() ? kNoAdText : QString());
    if (ads_.Empty()) {
        KillTimer(kAdTimerId);
        return;
    }
    SetTimer(kAdTimerId, kAdIntervalMs);
    if (!FindControl(home_page::kAdvert)) return;
    if (const auto index = ads_.TakeNext()) ShowAd(*index, true);
}

void CHomePage::ShowNextAd() {
    QWidget* advert = FindControl(home_page::kAdvert);
    const auto index = ads_.TakeNext();
    if (!advert || !index) return;
    ShowAd(*index, false);
}

void CHomePage::ShowAd(int index, bool first) {
    QWidget* advert = FindControl(home_page::kAdvert);
    const TalAd* ad = ads_.At(index);
    if (!advert || !ad) return;
    QString path = QString::fromStdString(ad->ad_path);
    // The description quotes the path with ', so a quote in it would end the value.
    path.remove(u'\'');
    const QString background =
        first ? QStringLiteral("file='%1' corner='4,4,4,4'").arg(path)
              : QStringLiteral("file='%1' dest='0,0,%2,%3'").arg(path).arg(advert->width()).arg(advert->height());
    SetControlAttribute(advert, QStringLiteral("bkimage"), background);
    advert->setToolTip(QString::fromStdString(ad->ad_content));
    advert->setAccessibleName(QStringLiteral("广告：") + QString::fromStdString(ad->ad_content));
    advert->setProperty(kAdIndexProperty, index);
}

void CHomePage::OnAdClick(QWidget* advert) { Open(ads_.ClickTarget(ShownAdIndex(advert), webSite_)); }

}  // namespace kivtal
