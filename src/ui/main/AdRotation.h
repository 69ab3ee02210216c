#pragma once
// Which advertisement the main window shows next: the active ones in their store
// order, round and round.
#include <QString>
#include <optional>

#include "model/Records.h"

namespace kivtal {

class AdRotation {
public:
    // The index of the next advertisement survives a reload and wraps if the new list
    // is shorter.
    void Reset(TalAdList ads) { ads_ = std::move(ads); }
    bool Empty() const { return ads_.empty(); }
    int Count() const { return static_cast<int>(ads_.size()); }

    // The index to show now, advancing past it; nullopt with no advertisements.
    std::optional<int> TakeNext();
    const TalAd* At(int index) const;

    // Where a click on the advertisement at index (a tag, maybe stale or unset) goes:
    // its own page, or fallback when it has none or names something other than a web
    // page (it comes from the service; a local file or program is never opened).
    QString ClickTarget(std::optional<int> index, const QString& fallback) const;

private:
    TalAdList ads_;
    int next_ = 0;
};

}  // namespace kivtal
