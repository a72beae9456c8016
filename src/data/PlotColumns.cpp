// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/PlotColumns.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "core/NumberText.h"
#include "core/TrimBlanks.h"

namespace sabrix {

namespace {

bool PointBefore(const ObsPoint& a, const ObsPoint& b) {
    return a.JD < b.JD || (a.JD == b.JD && a.ID < b.ID);
}

void Order(double& a, double& b) {
    if (a > b) std::swap(a, b);
}

ObsPoint PointOf(const ObsRow& row) {
    ObsPoint p;
    p.JD = row.JD;
    p.ID = row.ID;
    p.MagStored = row.Mag;
    p.Mag = static_cast<float>(row.Mag);
    p.PunktFarb = row.PunktFarb;
    p.uncertainty = PlotColumns::UncertaintyOf(row.Uncertain);
    p.faint = row.Faint == "<";
    p.discrepant = PlotColumns::DiscrepantOf(row.Valid);
    return p;
}

uint64_t TextHash(std::string_view text) {
    return std::hash<std::string_view>()(text);
}

// One point's share of the digest; summed over the points it does not depend on their order.
uint64_t PointDigest(const ObsPoint& p, uint64_t bandHash, uint64_t observerHash) {
    uint64_t h = 0x9e3779b97f4a7c15ULL;
    const auto mix = [&h](uint64_t v) {
        h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
    };
    mix(static_cast<uint64_t>(p.ID));
    mix(std::bit_cast<uint64_t>(p.JD));
    mix(std::bit_cast<uint64_t>(p.MagStored));
    mix(static_cast<uint32_t>(p.PunktFarb));
    mix(std::bit_cast<uint32_t>(p.uncertainty));
    mix((p.faint ? 1 : 0) | (p.discrepant ? 2 : 0));
    mix(bandHash);
    mix(observerHash);
    return h;
}

}  // namespace

float PlotColumns::UncertaintyOf(std::string_view uncertain) {
    double value = 0;
    if (!ParseNumber(uncertain, value)) return 0;
    if (!(value > 0) || value > std::numeric_limits<float>::max()) return 0;
    return static_cast<float>(value);
}

bool PlotColumns::DiscrepantOf(std::string_view valid) {
    return TrimBlanks(valid) == "D";
}

uint32_t PlotColumns::TextIndex::Intern(std::string_view text) {
    if (const auto it = indexes_.find(text); it != indexes_.end()) return it->second;
    const auto index = static_cast<uint32_t>(texts_.size());
    texts_.push_back(ColumnText{std::string(text), 0});
    indexes_.emplace(std::string(text), index);
    return index;
}

std::optional<uint32_t> PlotColumns::TextIndex::Find(std::string_view text) const {
    if (const auto it = indexes_.find(text); it != indexes_.end()) return it->second;
    return std::nullopt;
}

ObsPoint PlotColumns::numbered(ObsPoint point, std::string_view band, std::string_view observer) {
    point.band = bands_.Intern(TrimBlanks(band));
    point.observer = observers_.Intern(observer);
    bands_.Count(point.band, 1);
    observers_.Count(point.observer, 1);
    return point;
}

void PlotColumns::uncount(const ObsPoint& point) {
    bands_.Count(point.band, -1);
    observers_.Count(point.observer, -1);
}

void PlotColumns::Builder::Add(ObsPoint point, std::string_view band, std::string_view observer) {
    columns_.points_.push_back(columns_.numbered(point, band, observer));
}

void PlotColumns::Builder::Add(const ObsRow& row, int64_t id) {
    ObsPoint point = PointOf(row);
    point.ID = id;
    columns_.points_.push_back(columns_.numbered(point, row.Band, row.Init));
}

PlotColumns PlotColumns::Builder::Build() && {
    std::vector<ObsPoint>& p = columns_.points_;
    // A file is nearly always in JD order already.
    if (!std::is_sorted(p.begin(), p.end(), PointBefore))
        std::stable_sort(p.begin(), p.end(), PointBefore);
    return std::move(columns_);
}

std::pair<size_t, size_t> PlotColumns::windowRange(double jdA, double jdB) const {
    Order(jdA, jdB);
    const auto first = std::lower_bound(points_.begin(), points_.end(), jdA,
                                        [](const ObsPoint& c, double jd) { return c.JD < jd; });
    const auto last = std::upper_bound(first, points_.end(), jdB,
                                       [](double jd, const ObsPoint& c) { return jd < c.JD; });
    return {static_cast<size_t>(first - points_.begin()),
            static_cast<size_t>(last - points_.begin())};
}

std::span<const ObsPoint> PlotColumns::InWindow(double jdA, double jdB) const {
    const auto [first, last] = windowRange(jdA, jdB);
    return std::span<const ObsPoint>(points_).subspan(first, last - first);
}

namespace {
bool Shown(const PointFilter& shown, const ObsPoint& c) {
    return shown.Shows(c.band, c.faint, c.discrepant);
}
}  // namespace

std::optional<DataExtremes> PlotColumns::Extremes(const PointFilter& shown) const {
    std::optional<DataExtremes> e;
    for (const ObsPoint& c : points_) {
        if (!Shown(shown, c)) continue;
        if (!e) {
            e = DataExtremes{c.Mag, c.Mag, c.JD, c.JD, 0};
        }
        e->MagBrightest = std::min(e->MagBrightest, c.Mag);
        e->MagFaintest = std::max(e->MagFaintest, c.Mag);
        e->JDLast = c.JD;
        ++e->Count;
    }
    return e;
}

int64_t PlotColumns::ForEachPointInWindow(
    double jdA, double jdB, const PointFilter& shown,
    const std::function<void(const PlotPoint&)>& visit) const {
    int64_t n = 0;
    for (const ObsPoint& c : InWindow(jdA, jdB)) {
        if (!Shown(shown, c)) continue;
        visit(PlotPoint{c.JD, c.Mag, c.PunktFarb});
        ++n;
    }
    return n;
}

int64_t PlotColumns::ForEachMagnitudeInWindow(
    double jdA, double jdB, const PointFilter& shown,
    const std::function<void(double jd, double mag)>& visit) const {
    int64_t n = 0;
    for (const ObsPoint& c : InWindow(jdA, jdB)) {
        if (!Shown(shown, c)) continue;
        visit(c.JD, c.MagStored);
        ++n;
    }
    return n;
}

int64_t PlotColumns::ForEachShownPoint(const PointFilter& shown,
                                       const std::function<void(const ObsPoint&)>& visit) const {
    int64_t n = 0;
    for (const ObsPoint& c : points_) {
        if (!Shown(shown, c)) continue;
        visit(c);
        ++n;
    }
    return n;
}

std::vector<ObsPoint> PlotColumns::PointsOfObserver(std::string_view init) const {
    std::vector<ObsPoint> found;
    const std::optional<uint32_t> observer = observers_.Find(init);
    if (!observer || observers_.texts()[*observer].count == 0) return found;
    for (const ObsPoint& c : points_)
        if (c.observer == *observer) found.push_back(c);
    std::sort(found.begin(), found.end(),
              [](const ObsPoint& a, const ObsPoint& b) { return a.ID < b.ID; });
    return found;
}

uint64_t PlotColumns::Digest() const {
    std::vector<uint64_t> bandHashes;
    std::vector<uint64_t> observerHashes;
    for (const ColumnText& t : bands_.texts()) bandHashes.push_back(TextHash(t.text));
    for (const ColumnText& t : observers_.texts()) observerHashes.push_back(TextHash(t.text));
    uint64_t digest = 0;
    for (const ObsPoint& p : points_)
        digest += PointDigest(p, bandHashes[p.band], observerHashes[p.observer]);
    return digest;
}

uint64_t PlotColumns::DigestOf(const ObsRow& row, int64_t id) {
    ObsPoint p = PointOf(row);
    p.ID = id;
    return PointDigest(p, TextHash(TrimBlanks(std::string_view(row.Band))), TextHash(row.Init));
}

void PlotColumns::Merge(PlotColumns other) {
    // The other columns number their texts their own way: each point takes this one's index.
    std::vector<uint32_t> bandOf;
    std::vector<uint32_t> observerOf;
    for (const ColumnText& t : other.bands_.texts()) bandOf.push_back(bands_.Intern(t.text));
    for (const ColumnText& t : other.observers_.texts())
        observerOf.push_back(observers_.Intern(t.text));
    for (ObsPoint& p : other.points_) {
        p.band = bandOf[p.band];
        p.observer = observerOf[p.observer];
        bands_.Count(p.band, 1);
        observers_.Count(p.observer, 1);
    }
    if (points_.empty()) {
        points_ = std::move(other.points_);
        return;
    }
    const size_t middle = points_.size();
    points_.insert(points_.end(), other.points_.begin(), other.points_.end());
    std::inplace_merge(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(middle),
                       points_.end(), PointBefore);
}

void PlotColumns::Erase(const std::vector<int64_t>& ids) {
    if (ids.empty()) return;
    // A sorted copy rather than a hash set: a tenth of the memory for a million IDs.
    std::vector<int64_t> gone = ids;
    std::sort(gone.begin(), gone.end());
    std::erase_if(points_, [&](const ObsPoint& c) {
        if (!std::binary_search(gone.begin(), gone.end(), c.ID)) return false;
        uncount(c);
        return true;
    });
}

void PlotColumns::Replace(const ObsRow& row) {
    // The JD kept (a discrepant mark, a new colour): in place, without moving the points.
    if (ObsPoint* p = find(row.JD, row.ID)) {
        uncount(*p);
        *p = numbered(PointOf(row), row.Band, row.Init);
        p->ID = row.ID;
        return;
    }
    Erase({row.ID});
    // The JD may have moved: the point goes in where it now sorts.
    const ObsPoint point = numbered(PointOf(row), row.Band, row.Init);
    points_.insert(std::upper_bound(points_.begin(), points_.end(), point, PointBefore), point);
}

ObsPoint* PlotColumns::find(double jd, int64_t id) {
    ObsPoint key;
    key.JD = jd;
    key.ID = id;
    const auto it = std::lower_bound(points_.begin(), points_.end(), key, PointBefore);
    if (it == points_.end() || it->JD != jd || it->ID != id) return nullptr;
    return &*it;
}

void PlotColumns::Recolor(std::span<const Recoloring> changes) {
    for (const Recoloring& change : changes)
        if (ObsPoint* p = find(change.JD, change.ID)) p->PunktFarb = change.PunktFarb;
}

}  // namespace sabrix
