#include "listio/RecordReader.h"

#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/ListKinds.h"
#include "listio/PieceCity.h"
#include "listio/TextLineReader.h"
#include "listio/ZipParser.h"

namespace quillan {

using namespace platform;

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
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
    return {inCountyRates(ctx), upperAscii(ctx.lists.periodicalList.county()),
            upperAscii(ctx.lists.mailerList.state())};
}

class Reader {
public:
    Reader(AppContext& ctx, ListSource& source, long n, int fieldCount)
        : ctx_(ctx), source_(source), n_(n), fieldCount_(fieldCount), zips_(ctx),
          rule_(inCountyRule(ctx)) {
        const ListState& s = ctx.list;
        hasCity_ = s.cityColumn != -1 || s.stateColumn != -1 || s.cityStateColumn != -1;
        dbase_ = ctx.listFileKind == KindDbase;
        text_ = isTextKind(ctx.listFileKind);
        // A table is read to its end, however many records it held when counted.
        toEnd_ = ctx.listFileKind == KindAccess;
        wanted_ = dbase_ || toEnd_ ? s.highestField() + 1 : fieldCount;
    }

    void run() {
        long r = 1;
        for (; r <= n_ || toEnd_; ++r) {
            showProgress(r);
            if (!source_.read(r, wanted_, record_))
                break;
            addRecord();
        }
        // The list lost or gained records since they were counted: count what was read.
        ctx_.counters.recordCount += static_cast<int32_t>((r - 1) - n_);
    }

private:
    void showProgress(long r) {
        while (step_ < 6 && static_cast<long long>(step_) * n_ <= 5LL * r) {
            ++step_;
            ctx_.progress().showIcons(6 - step_);
        }
    }

    void addRecord() {
        if (dbase_) {
            if (record_.deleted) {
                ++ctx_.list.deletedRecordCount;
                return;
            }
            tidyDbaseFields(record_.fields);
        }
        if (text_)
            ctx_.tables.pieceRecords.push_back(record_.line);
        const ListState& s = ctx_.list;
        std::string zipText = s.zipColumn != -1 ? field(record_.fields, s.zipColumn)
                                                : field(record_.fields, s.zip5Column) +
                                                      field(record_.fields, s.zip4Column);
        CityAndState cs = cityAndStateOf(s, record_.fields);
        int32_t value = zips_.parse(zipText);
        ctx_.tables.pieceZips.push_back(value);
        ctx_.tables.pieceCities.push_back(hasCity_ ? pieceCityEntry(cs.city, cs.state) : "");
        ctx_.tables.pieceInCounty.push_back(inCounty(value, cs.state) ? "t" : "f");
    }

    bool inCounty(int32_t value, const std::string& state) {
        if (!rule_.applies || ctx_.list.countyColumn == -1 || value <= -100000 || value >= 100000)
            return false;
        if (upperAscii(field(record_.fields, ctx_.list.countyColumn)) != rule_.county ||
            state != rule_.state)
            return false;
        ++ctx_.counters.inCountyCount;
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
    bool toEnd_ = false;
    int wanted_ = 0;
    int step_ = 1;
};

void askInCountyRates(AppContext& ctx) {
    if (!inCountyRates(ctx))
        return;
    const MailingCounters& c = ctx.counters;
    int64_t pieces = static_cast<int64_t>(c.recordCount) - c.rejectedCount;
    if (pieces < 10000 || pieces < 2LL * c.inCountyCount)
        return;
    ModalResult answer =
        ctx.message(BeepKind::Asterisk, MessageKind::Information, MessageButtons::OkNo,
                    "For in-county rates, you must have fewer than 10000 total pcs, or, more "
                    "than half of the pcs must be incounty. This mailing appears not to qualify. "
                    "Do you want to use incounty rates anyway?");
    if (answer != ModalResult::No)
        return;
    ctx.lists.periodicalList.setInCountyRates(false);
    auto& marks = ctx.tables.pieceInCounty;
    for (size_t row = 1; row < marks.size() && row <= static_cast<size_t>(c.recordCount); ++row)
        marks[row] = "f";
    ctx.counters.inCountyCount = 0;
}

} // namespace

void ShowReadingPicture(AppContext& ctx, const std::string& path) {
    ProgressSink& progress = ctx.progress();
    progress.showPage();
    progress.showCaption(ProgressSink::Caption::Top, "Reading");
    progress.showCaption(ProgressSink::Caption::Bottom, lowerAscii(fileNameOf(path)));
    progress.showIcons(5);
}

void ReadListRecords(AppContext& ctx, ListSource& source, const std::string& path, long n,
                     int fieldCount) {
    ctx.platform.ui.setBusyCursor(true);
    // Named before the first pause of the picture: a person may ask what is being read.
    ctx.listFileName = path;
    ShowReadingPicture(ctx, path);
    ctx.list.deletedRecordCount = 0;
    ctx.list.fieldCount = fieldCount;
    if (isTextKind(ctx.listFileKind)) {
        TextLineReader first(path);
        std::string line;
        first.next(line);
        if (isHeaderKind(ctx.listFileKind))
            ctx.list.listHeaderLine = line;
        // A list of one line has no line end to follow: the platform's own is used.
        ctx.list.lineEnd = *first.lastLineEnd() ? first.lastLineEnd() : "\r\n";
    }
    Reader(ctx, source, n, fieldCount).run();
    ctx.counters.recordCount -= ctx.list.deletedRecordCount;
    ctx.platform.ui.setBusyCursor(false);
    askInCountyRates(ctx);
}

} // namespace quillan
