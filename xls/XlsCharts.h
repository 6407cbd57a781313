#pragma once

#include "xls/AnchorObject.h"
#include "xls/FormulaDecoder.h"
#include "xls/RecordStorage.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

namespace xls {

class FormulaEncoder;
class XlsStream;

enum class ChartStyle : uint8_t {
    Column,
    Column3d,
    Bar,
    Bar3d,
    Line,
    LineMark,
    Line3d,
    Pie,
    Pie3d,
    Area,
    Area3d,
    Surface,
    Surface3d,
    Radar,
    RadarArea
};
enum class LegendPlacement : uint8_t { Bottom, Corner, Top, Right, Left };

// The names and sheets a chart's formulas use: the workbook's encoder and name texts.
struct ChartContext {
    FormulaEncoder* encoder = nullptr;
    NameTextCallback nameText;
};

// One series of a chart: its colour, its title and the ranges of its values and categories
// (kept as BIFF8 formula tokens).
class ChartSerie {
public:
    ChartSerie(const ChartContext& context, int id);

    uint8_t color = 64; // automatic
    std::string serieName;
    std::string name;

    std::string area() const { return decoded(areaTokens_); }
    std::string categories() const { return decoded(categoryTokens_); }
    void setArea(std::string_view text) { areaTokens_ = encoded(text); }
    void setCategories(std::string_view text) { categoryTokens_ = encoded(text); }
    const std::string& areaTokens() const { return areaTokens_; }
    const std::string& categoryTokens() const { return categoryTokens_; }

private:
    std::string decoded(const std::string& tokens) const;
    std::string encoded(std::string_view text) const;

    const ChartContext& context_;
    std::string areaTokens_;
    std::string categoryTokens_;
};

// A chart defined through the library: written from a fixed template filled with its style,
// series, legend and titles.
class XlsChart : public AnchorObject {
public:
    XlsChart(const ChartContext& context, int id);

    ChartStyle style = ChartStyle::Column;
    std::string title;
    std::string categoryTitle;
    std::string name;
    bool legendIncluded = true;
    LegendPlacement legendPlacement = LegendPlacement::Right;

    ChartSerie& addSerie() {
        return series_.emplace_back(context_, static_cast<int>(series_.size()));
    }
    size_t serieCount() const { return series_.size(); }
    ChartSerie& serie(size_t index) { return series_.at(index); }

    // The records between the chart substream's BOF and EOF.
    void writeChart(XlsStream& stream, bool unicode) const;

private:
    const ChartContext& context_;
    std::deque<ChartSerie> series_;
};

class XlsCharts {
public:
    // The context belongs to the workbook and outlives the charts.
    explicit XlsCharts(const ChartContext& context) : context_(context) {}
    XlsChart& add() { return items_.emplace_back(context_, static_cast<int>(items_.size())); }
    XlsChart& item(size_t index) { return items_.at(index); }
    size_t count() const { return items_.size(); }
    void clear() { items_.clear(); }

private:
    const ChartContext& context_;
    std::deque<XlsChart> items_;
};

// A chart read from a file: its whole substream kept as raw records and written back as it
// was, with the place of its drawing object (embedded charts) or its sheet name (chart
// sheets).
class InFileChart : public AnchorObject {
public:
    RecordStorage records;
    std::string flaggedName;
    uint64_t boundSheetPosition = 0;
    int tabPosition = -1;   // a chart sheet's place among the workbook's tabs, as read
    uint8_t visibility = 0; // a chart sheet's, as the sheet directory says
    std::string bof;        // a chart sheet's BOF body as read
};

class InFileCharts {
public:
    InFileChart& add() { return *items_.emplace_back(std::make_unique<InFileChart>()); }
    InFileChart& item(size_t index) { return *items_.at(index); }
    InFileChart& last() { return *items_.back(); }
    void removeLast() {
        if (!items_.empty())
            items_.pop_back();
    }
    size_t count() const { return items_.size(); }
    void clear() { items_.clear(); }

private:
    std::deque<std::unique_ptr<InFileChart>> items_;
};

} // namespace xls
