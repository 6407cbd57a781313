#include "xls/XlsCharts.h"

#include "xls/FormulaEncoder.h"
#include "xls/RecordBody.h"
#include "xls/XlsStream.h"
#include "xls/XlsUtils.h"

namespace xls {

namespace {

constexpr size_t SerieTokenCapacity = 8224;
constexpr uint16_t Begin = 0x1033;
constexpr uint16_t End = 0x1034;

bool isPie(ChartStyle style) {
    return style == ChartStyle::Pie || style == ChartStyle::Pie3d;
}

bool is3d(ChartStyle style) {
    switch (style) {
    case ChartStyle::Column3d:
    case ChartStyle::Bar3d:
    case ChartStyle::Line3d:
    case ChartStyle::Pie3d:
    case ChartStyle::Area3d:
    case ChartStyle::Surface3d:
        return true;
    default:
        return false;
    }
}

// The template's records, each a header and its body.
class ChartRecords {
public:
    ChartRecords(XlsStream& stream, bool unicode) : stream_(stream), unicode_(unicode) {}

    void add(uint16_t id, const RecordBody& body = {}) { stream_.writeRecord(id, body.str()); }
    void words(uint16_t id, std::initializer_list<int64_t> values) {
        RecordBody body;
        for (int64_t value : values)
            body.u16(value);
        add(id, body);
    }
    void begin() { add(Begin); }
    void end() { add(End); }

    // AI: which text or values it links, how, and the formula of a range.
    void ai(uint8_t id, uint8_t type, const std::string& tokens = {}) {
        RecordBody body;
        body.u8(id).u8(type).u16(0).u16(0).u16(tokens.size()).bytes(tokens);
        add(0x1051, body);
    }
    void text(int64_t verticalPosition) {
        RecordBody body;
        body.u8(2).u8(2).u16(1).u32(0).u32(1643).u32(verticalPosition).u32(714).u32(397);
        body.u16(0x0081).u16(77).u16(0x3D20).u16(0);
        add(0x1025, body);
    }
    void pos(int64_t topLeft, int64_t bottomRight, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        RecordBody body;
        body.u16(topLeft).u16(bottomRight).u32(x1).u32(y1).u32(x2).u32(y2);
        add(0x104F, body);
    }
    void seriesText(const std::string& text) {
        std::string flagged = toXlsString(text.substr(0, 255), unicode_);
        size_t count = xlsStringCount(flagged);
        RecordBody body;
        body.u16(0).u8(count).bytes(flagged);
        add(0x100D, body);
    }
    void lineFormat(int64_t color, int64_t pattern, int64_t weight, int64_t flags, int64_t index) {
        RecordBody body;
        body.u32(color).u16(pattern).u16(weight).u16(flags).u16(index);
        add(0x1007, body);
    }
    void areaFormat(int64_t fore, int64_t back, int64_t pattern, int64_t flags, int64_t foreIndex,
                    int64_t backIndex) {
        RecordBody body;
        body.u32(fore).u32(back).u16(pattern).u16(flags).u16(foreIndex).u16(backIndex);
        add(0x100A, body);
    }
    void tick() {
        RecordBody body;
        body.u8(2).u8(0).u8(3).u8(1).u32(0).zeros(16).u16(35).u16(77).u16(0);
        add(0x101E, body);
    }
    void textBlock(int64_t verticalPosition) {
        text(verticalPosition);
        begin();
        pos(0, 0, 0, 0, 0, 0);
    }

private:
    XlsStream& stream_;
    bool unicode_;
};

} // namespace

ChartSerie::ChartSerie(const ChartContext& context, int id)
    : name("Serie " + std::to_string(id)), context_(context) {}

std::string ChartSerie::decoded(const std::string& tokens) const {
    if (tokens.empty())
        return {};
    return decodeFormulaTokens(ExcelVersion::Excel97, tokens, tokens.size(), context_.nameText);
}

std::string ChartSerie::encoded(std::string_view text) const {
    FormulaEncoder encoder = context_.encoder ? *context_.encoder : FormulaEncoder();
    encoder.version = ExcelVersion::Excel97;
    return std::string(encoder.encode(text, SerieTokenCapacity).tokens());
}

XlsChart::XlsChart(const ChartContext& context, int id)
    : name("Chart " + std::to_string(id)), context_(context) {
    col1 = 5;
    row1 = 5;
    col2 = 10;
    row2 = 20;
}

void XlsChart::writeChart(XlsStream& stream, bool unicode) const {
    ChartRecords r(stream, unicode);
    r.add(0x0014);
    r.add(0x0015);
    r.words(0x0083, {0});
    r.words(0x0084, {0});
    RecordBody setup;
    setup.u16(0).u16(18).u16(1).u16(1).u16(1).u16(0x0003).u16(0).u16(2208).zeros(16).u16(1);
    r.add(0x00A1, setup);
    r.words(0x0033, {3});
    for (auto [height, scale] : {std::pair{240, 0}, std::pair{200, 1}, std::pair{200, 0}})
        r.words(0x1060, {5685, 4380, height, scale, 0});
    r.words(0x0012, {0});
    r.words(0x1001, {0});
    RecordBody chart;
    chart.u32(0x0000F000).u32(0).u32(0x00EFFFE8).u32(0x00B27FD0);
    r.add(0x1002, chart);
    r.begin();
    r.words(0x00A0, {1, 1});
    RecordBody growth;
    growth.u32(0x00010000).u32(0x00010000);
    r.add(0x1064, growth);
    r.words(0x1032, {0, 2});
    r.begin();
    r.lineFormat(0, 0, 0xFFFF, 9, 77);
    r.areaFormat(0xFFFFFF, 0, 1, 1, 78, 77);
    r.end();

    for (size_t i = 0; i < series_.size(); ++i) {
        const ChartSerie& serie = series_[i];
        r.words(0x1003, {1, 1, 13, 13, 1, 0});
        r.begin();
        r.ai(0, 1);
        if (!serie.serieName.empty())
            r.seriesText(serie.serieName);
        r.ai(1, 2, serie.areaTokens());
        if (serie.categoryTokens().empty())
            r.ai(2, 0);
        else
            r.ai(2, 2, serie.categoryTokens());
        r.ai(3, 1);
        r.words(0x1006, {0xFFFF, static_cast<int64_t>(i), static_cast<int64_t>(i), 0});
        r.begin();
        r.words(0x105F, {0});
        if (serie.color != 64) {
            r.lineFormat(0, 0, 0, 0, 8);
            r.areaFormat(0xA0A0A0, 0x909090, 1, 0, serie.color, 8);
        }
        r.end();
        r.words(0x1045, {0});
        r.end();
    }

    RecordBody properties;
    properties.u16(10).zeros(2);
    r.add(0x1044, properties);
    for (int kind : {2, 3}) {
        r.words(0x1024, {kind});
        r.textBlock(82);
        r.words(0x1026, {0});
        r.ai(0, 1);
        r.end();
    }
    r.words(0x1046, {1});
    RecordBody parent;
    parent.u16(0).u32(490).u32(895).u32(2606).u32(2456);
    r.add(0x1041, parent);
    r.begin();
    r.pos(2, 2, 129, 719, 2968, 3105);

    RecordBody categoryAxis;
    categoryAxis.u16(0).zeros(16);
    r.add(0x101D, categoryAxis);
    r.begin();
    r.words(0x1020, {1, 1, 1, 1});
    r.words(0x1062, {0, 0, 1, 0, 1, 0, 0, 0, 0x00EF});
    r.tick();
    r.end();
    RecordBody valueAxis;
    valueAxis.u16(1).zeros(16);
    r.add(0x101D, valueAxis);
    r.begin();
    RecordBody range;
    range.zeros(40).u16(0x001F);
    r.add(0x101F, range);
    r.tick();
    r.words(0x1021, {1});
    r.lineFormat(0, 0, 0xFFFF, 9, 77);
    r.end();

    if (!categoryTitle.empty()) {
        r.text(3600);
        r.begin();
        r.pos(2, 2, 0, 0, 41, 21);
        r.words(0x1026, {0});
        r.ai(2, 0);
        r.seriesText(categoryTitle);
        r.words(0x1027, {3, 0, 0});
        r.end();
    }
    r.add(0x1035);
    r.words(0x1032, {0, 3});
    r.begin();
    r.lineFormat(0x808080, 0, 0, 0, 23);
    r.areaFormat(0xC0C0C0, 0, 1, 0, 22, 79);
    r.end();

    RecordBody format;
    format.zeros(16).u16(isPie(style) ? 1 : 0).u16(0);
    r.add(0x1014, format);
    r.begin();
    switch (style) {
    case ChartStyle::Column:
    case ChartStyle::Column3d:
    case ChartStyle::LineMark:
        r.words(0x1017, {0, 150, 0});
        break;
    case ChartStyle::Bar:
    case ChartStyle::Bar3d:
        r.words(0x1017, {0, 150, 1});
        break;
    case ChartStyle::Line:
    case ChartStyle::Line3d:
        r.words(0x1018, {0});
        break;
    case ChartStyle::Pie:
    case ChartStyle::Pie3d:
        r.words(0x1019, {0, 0, 1});
        break;
    case ChartStyle::Area:
    case ChartStyle::Area3d:
        r.words(0x101A, {0});
        break;
    case ChartStyle::Surface:
    case ChartStyle::Surface3d:
        r.words(0x103F, {1});
        break;
    case ChartStyle::Radar:
        r.words(0x103E, {0});
        break;
    case ChartStyle::RadarArea:
        r.words(0x1040, {0});
        break;
    }
    if (is3d(style))
        r.words(0x103A, {20, 15, 30, 100, 100, 150, 21});
    if (legendIncluded) {
        RecordBody legend;
        legend.u32(3239).u32(1947).u32(710).u32(333);
        legend.u8(static_cast<int>(legendPlacement)).u8(1).u16(0x001F);
        r.add(0x1015, legend);
        r.begin();
        r.pos(5, 2, 3239, 1947, 0, 0);
        r.textBlock(82);
        r.ai(0, 1);
        r.end();
        r.end();
    }
    r.end(); // the chart group
    r.end(); // the axis parent

    if (!title.empty()) {
        r.text(82);
        r.begin();
        r.pos(2, 2, 0, 0, 52, 22);
        r.words(0x1026, {0});
        r.ai(0, 1);
        r.seriesText(title);
        r.words(0x1027, {1, 0, 0});
        r.end();
    }
    r.end(); // the chart
    RecordBody dimensions;
    dimensions.u32(0).u32(13).u16(0).u16(1).u16(0);
    r.add(0x0200, dimensions);
    for (int index : {1, 2, 3})
        r.words(0x1065, {index});
}

} // namespace xls
