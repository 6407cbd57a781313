#include "listio/RecordReader.h"

#include "core/Convert.h"
#include "core/ProgressPicture.h"
#include "listio/FieldChecks.h"
#include "listio/FieldRoles.h"
#include "listio/ListKinds.h"
#include "listio/PieceCity.h"
#include "listio/TextLineReader.h"
#include "listio/ZipParser.h"
#include "platform/ui/Form.h"

#include <algorithm>
#include <cmath>

namespace quillan {

using namespace platform;

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

int highestRole(const ListState& roles) {
    int m = -1;
    for (const auto& role : fieldRoles())
        m = std::max(m, roles.*role.column);
    return m;
}

const std::string& field(const std::vector<std::string>& fields, int column) {
    static const std::string empty;
    return column >= 0 && column < static_cast<int>(fields.size()) ? fields[column] : empty;
}

// dBase fields come padded: they lose their trailing blanks (keeping one character) and are
// compared in capitals.
void tidyDbaseFields(std::vector<std::string>& fields) {
    for (auto& f : fields) {
        while (f.size() > 1 && f.back() == ' ')
            f.pop_back();
        f = upperAscii(f);
    }
}

// The in-county settings, taken once for the whole list.
struct InCountyRule {
    bool applies;
    std::string county;
    std::string state;
};

InCountyRule inCountyRule(const AppContext& ctx) {
    return {inCountyRates(ctx), upperAscii(ctx.lists.PeriodicalList[5]),
            upperAscii(ctx.lists.MailerList[2])};
}

class Reader {
public:
    Reader(AppContext& ctx, ListSource& source, long n, int fieldCount)
        : ctx_(ctx), source_(source), n_(n), fieldCount_(fieldCount), zips_(ctx),
          rule_(inCountyRule(ctx)) {
        const ListState& s = ctx.list;
        hasCity_ = s.CityColumn != -1 || s.StateColumn != -1 || s.CityStateColumn != -1;
        dbase_ = ctx.ListFileKind == KindDbase;
        text_ = isTextKind(ctx.ListFileKind);
        wanted_ = dbase_ ? highestRole(s) + 1 : fieldCount;
    }

    void run() {
        for (long r = 1; r <= n_; ++r) {
            showProgress(r);
            if (!source_.read(r, wanted_, record_)) {
                // The file lost records since they were counted: count what was read.
                ctx_.counters.RecordCount -= static_cast<int32_t>(n_ - (r - 1));
                return;
            }
            addRecord();
        }
    }

private:
    void showProgress(long r) {
        while (step_ < 6 && static_cast<long long>(step_) * n_ <= 5LL * r) {
            ++step_;
            ShowProgressPause(ctx_, 6 - step_);
        }
    }

    void addRecord() {
        if (dbase_) {
            if (record_.deleted) {
                ++ctx_.list.DeletedRecordCount;
                return;
            }
            tidyDbaseFields(record_.fields);
        }
        if (text_)
            ctx_.tables.PieceRecords.push_back(record_.line);
        const ListState& s = ctx_.list;
        std::string zipText = s.ZipColumn != -1 ? field(record_.fields, s.ZipColumn)
                                                : field(record_.fields, s.Zip5Column) +
                                                      field(record_.fields, s.Zip4Column);
        CityAndState cs = cityAndStateOf(s, record_.fields);
        int32_t value = zips_.parse(zipText);
        ctx_.tables.PieceZips.push_back(value);
        ctx_.tables.PieceCities.push_back(hasCity_ ? pieceCityEntry(cs.city, cs.state) : "");
        ctx_.tables.PieceInCounty.push_back(inCounty(value, cs.state) ? "t" : "f");
    }

    bool inCounty(int32_t value, const std::string& state) {
        if (!rule_.applies || ctx_.list.CountyColumn == -1 || value <= -100000 || value >= 100000)
            return false;
        if (upperAscii(field(record_.fields, ctx_.list.CountyColumn)) != rule_.county ||
            state != rule_.state)
            return false;
        ++ctx_.counters.InCountyCount;
        return true;
    }

    AppContext& ctx_;
    ListSource& source_;
    long n_;
    int fieldCount_;
    ZipParser zips_;
    InCountyRule rule_;
    ListRecord record_;
    bool hasCity_ = false;
    bool dbase_ = false;
    bool text_ = false;
    int wanted_ = 0;
    int step_ = 1;
};

void askInCountyRates(AppContext& ctx) {
    if (!inCountyRates(ctx))
        return;
    const MailingCounters& c = ctx.counters;
    int64_t pieces = static_cast<int64_t>(c.RecordCount) - c.RejectedCount;
    if (pieces < 10000 || pieces < 2LL * c.InCountyCount)
        return;
    ModalResult answer =
        ctx.message(BeepKind::Asterisk, MessageKind::Information, MessageButtons::OkNo,
                    "For in-county rates, you must have fewer than 10000 total pcs, or, more "
                    "than half of the pcs must be incounty. This mailing appears not to qualify. "
                    "Do you want to use incounty rates anyway?");
    if (answer != ModalResult::No)
        return;
    // "f" like the check box stores it, so that everything reading the line sees "no".
    ctx.lists.PeriodicalList[4] = "f";
    auto& marks = ctx.tables.PieceInCounty;
    for (size_t row = 1; row < marks.size() && row <= static_cast<size_t>(c.RecordCount); ++row)
        marks[row] = "f";
    ctx.counters.InCountyCount = 0;
}

int scaled(double fraction, int size) {
    return static_cast<int>(std::lround(fraction * size));
}

} // namespace

bool DrawPagePicture(AppContext& ctx) {
    Control* image = ctx.mainWindow ? ctx.mainWindow->find("Image1") : nullptr;
    if (!image)
        return false;
    int w = image->geometry() ? image->geometry()->width : 100;
    int h = image->geometry() ? image->geometry()->height : 100;
    auto at = [&](double x, double y) { return Point{scaled(x, w), scaled(y, h)}; };
    Canvas& c = image->canvas();
    c.setBrush(colors::White);
    c.polygon({at(0.6, 0.1), at(0.6, 0.3), at(0.8, 0.3)});
    c.setBrush(Color{255, 255, 128});
    c.setPen(colors::Black, 2);
    c.polygon({at(0.2, 0.1), at(0.6, 0.1), at(0.6, 0.3), at(0.8, 0.3), at(0.8, 0.9), at(0.2, 0.9)});
    c.setPen(colors::Black, 1);
    return true;
}

void DrawReadingPicture(AppContext& ctx, const std::string& path) {
    if (!DrawPagePicture(ctx))
        return;
    ctx.mainWindow->control("TopLabel").setCaption("Reading").setVisible(true);
    ctx.mainWindow->control("BottomLabel")
        .setCaption(lowerAscii(fileNameOf(path)))
        .setVisible(true);
    ctx.mainWindow->control("Image1").setVisible(true);
}

void ReadListRecords(AppContext& ctx, ListSource& source, const std::string& path, long n,
                     int fieldCount) {
    ctx.platform.ui.setBusyCursor(true);
    DrawReadingPicture(ctx, path);
    ShowProgressPause(ctx, 5);
    ctx.list.DeletedRecordCount = 0;
    ctx.ListFileName = path;
    ctx.list.FieldCount = fieldCount;
    if (isHeaderKind(ctx.ListFileKind)) {
        TextLineReader header(path);
        header.next(ctx.list.ListHeaderLine);
    }
    Reader(ctx, source, n, fieldCount).run();
    ctx.counters.RecordCount -= ctx.list.DeletedRecordCount;
    ctx.platform.ui.setBusyCursor(false);
    askInCountyRates(ctx);
}

} // namespace quillan
