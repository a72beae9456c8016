// SPDX-License-Identifier: GPL-3.0-or-later
// The plotted columns of the observations, held in memory beside the table Obs and sorted by JD
// (by ID among equal JDs), so that a redraw, a selection or a statistic of a million rows needs
// no walk through the database. This class knows no SQL: ObsTable changes it in the same call
// as every write it makes, after the database has accepted the write.
//
// Each point carries what the plot draws (JD, Mag, PunktFarb, the fainter-than mark) and what
// the analyses and marking read: the uncertainty, whether the observation is discrepant, its
// band (an index into Bands(), the distinct trimmed Band texts with the number of points of
// each) and its observer (an index into Observers(), the Init codes as stored). A band or
// code keeps its index while the columns live, even when its count falls to 0, so an index
// held elsewhere never comes to name another text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/ObsRow.h"
#include "data/PointFilter.h"

namespace sabrix {

// One point of the columns.
struct ObsPoint {
    double JD = 0;
    int64_t ID = 0;
    double MagStored = 0;  // Mag as stored, for the statistics
    float Mag = 0;         // Mag in single precision, for drawing
    int32_t PunktFarb = 0;
    float uncertainty = 0;  // the number in Uncertain; 0 when it holds none (see UncertaintyOf)
    uint32_t band = 0;      // index into Bands()
    uint32_t observer = 0;  // index into Observers()
    bool faint = false;     // Faint is "<"
    bool discrepant = false;
};

// What the plot needs of a row.
struct PlotPoint {
    double JD = 0;
    float Mag = 0;
    int32_t PunktFarb = 0;
};

// Extremes of the whole table.
struct DataExtremes {
    float MagBrightest = 0;
    float MagFaintest = 0;
    double JDFirst = 0;
    double JDLast = 0;
    int64_t Count = 0;
};

// One distinct text of a column (a band, an observer code) and how many points have it.
struct ColumnText {
    std::string text;
    int64_t count = 0;
};

class PlotColumns {
  public:
    // The rules by which a row's texts become parts of its point, the same for a line of a
    // file and for a row of the table. Uncertainty: the number in the text (blanks around it
    // allowed) when it is positive and fits a float, else 0 ("", "abc", "-0.1", "0").
    static float UncertaintyOf(std::string_view uncertain);
    // Discrepant: Valid without blanks at its ends is "D".
    static bool DiscrepantOf(std::string_view valid);

    // Gathers points in any order; Build sorts them.
    class Builder;

    size_t size() const { return points_.size(); }
    bool empty() const { return points_.empty(); }

    // The points with JD between the bounds (inclusive, in either order), in JD order (ID order
    // among equal JDs); empty when there are none.
    std::span<const ObsPoint> InWindow(double jdA, double jdB) const;
    std::span<const ObsPoint> All() const { return points_; }
    const std::vector<ColumnText>& Bands() const { return bands_.texts(); }
    const std::vector<ColumnText>& Observers() const { return observers_.texts(); }

    // Each of the following looks only at the points that `shown` shows.
    //
    // Extremes of the shown points; nothing when none is shown.
    std::optional<DataExtremes> Extremes(const PointFilter& shown) const;
    // Visits the window's shown points as ObsTable::ForEachPointInWindow says.
    int64_t ForEachPointInWindow(double jdA, double jdB, const PointFilter& shown,
                                 const std::function<void(const PlotPoint&)>& visit) const;
    // Every shown point with JD between the bounds (inclusive, in either order), in JD order:
    // its JD and its Mag as stored. Returns the number visited.
    int64_t ForEachMagnitudeInWindow(double jdA, double jdB, const PointFilter& shown,
                                     const std::function<void(double jd, double mag)>& visit) const;
    // The observations shown, whole, in JD order (ID order among equal JDs): what the
    // analyses of the shown observations read. Returns the number visited.
    int64_t ForEachShownPoint(const PointFilter& shown,
                              const std::function<void(const ObsPoint&)>& visit) const;
    // The points of the observer whose code is init (compared exactly), in ID order; empty
    // when no point has it.
    std::vector<ObsPoint> PointsOfObserver(std::string_view init) const;
    // An order-free digest of every point with its band and observer texts: equal for two
    // sets of columns that hold the same points, in any order.
    uint64_t Digest() const;
    // The digest of one point of a row with that ID; Digest() is the sum over the points.
    static uint64_t DigestOf(const ObsRow& row, int64_t id);

    // Writes, each made after the table made the same change. Merge adds the points of other
    // (whose IDs are new here); Erase removes the points with these IDs; Replace puts the
    // point of the row in place of the point with its ID (its JD may move it); Recolor gives
    // each point at (JD, ID) its colour.
    void Merge(PlotColumns other);
    void Erase(const std::vector<int64_t>& ids);
    void Replace(const ObsRow& row);
    struct Recoloring {
        double JD;
        int64_t ID;
        int32_t PunktFarb;
    };
    void Recolor(std::span<const Recoloring> changes);

  private:
    // The distinct texts of a column, each with a fixed index.
    class TextIndex {
      public:
        uint32_t Intern(std::string_view text);
        std::optional<uint32_t> Find(std::string_view text) const;
        void Count(uint32_t index, int64_t delta) { texts_[index].count += delta; }
        const std::vector<ColumnText>& texts() const { return texts_; }

      private:
        struct Hash {
            using is_transparent = void;
            size_t operator()(std::string_view text) const {
                return std::hash<std::string_view>()(text);
            }
        };
        std::vector<ColumnText> texts_;
        std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> indexes_;
    };

    // The point with the indexes of its band and observer, both counted.
    ObsPoint numbered(ObsPoint point, std::string_view band, std::string_view observer);
    void uncount(const ObsPoint& point);
    std::pair<size_t, size_t> windowRange(double jdA, double jdB) const;
    // The point with that JD and ID; nullptr when there is none.
    ObsPoint* find(double jd, int64_t id);

    std::vector<ObsPoint> points_;
    TextIndex bands_;
    TextIndex observers_;
};

// Gathers the points of PlotColumns in any order; Build sorts them.
class PlotColumns::Builder {
  public:
    // A point whose band and observer are given as texts (point.band and point.observer
    // are set here); the band is taken without blanks at its ends, the code as given.
    void Add(ObsPoint point, std::string_view band, std::string_view observer);
    // The point of a row, with that ID.
    void Add(const ObsRow& row, int64_t id);
    size_t size() const { return columns_.points_.size(); }
    PlotColumns Build() &&;

  private:
    PlotColumns columns_;
};

}  // namespace sabrix
