#include "listio/RecordReader.h"

#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/ListFormat.h"
#include "listio/ListPaths.h"
#include "listio/PieceCity.h"
#include "listio/TextRecordReader.h"
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

InCountyRule inCountyRule(const SettingsLists& settings) {
    return {inCountyRates(settings), upperAscii(settings.periodicalList.county()),
            upperAscii(settings.mailerList.state())};
}

class Reader {
public:
    Reader(ListOpening& opening, ListSource& source, long n, int fieldCount)
        : list_(opening.state()), lines_(opening.reading.list.lines), mailing_(opening.mailing()),
          progress_(opening.people.progress), source_(source), n_(n), fieldCount_(fieldCount),
          zips_(opening.settings, mailing_.counters), rule_(inCountyRule(opening.settings)) {
        const ListState& s = list_;
        const ListFormat& format = opening.format();
        hasCity_ = s.cityColumn != -1 || s.stateColumn != -1 || s.cityStateColumn != -1;
        padded_ = format.paddedRecords;
        text_ = format.text;
        toEnd_ = format.readsToEnd;
        wanted_ = padded_ || toEnd_ ? s.highestField() + 1 : fieldCount;
    }

    // The records are as many as were read: the list may have lost or gained some since
    // they were counted.
    void run() {
        for (long r = 1; r <= n_ || toEnd_; ++r) {
            showProgress(r);
            if (!source_.read(r, wanted_, record_))
                break;
            addRecord();
        }
    }

private:
    void showProgress(long r) {
        while (step_ < 6 && static_cast<long long>(step_) * n_ <= 5LL * r) {
            ++step_;
            progress_.showIcons(6 - step_);
        }
    }

    void addRecord() {
        if (padded_) {
            if (record_.deleted) {
                ++list_.deletedRecordCount;
                return;
            }
            tidyDbaseFields(record_.fields);
        }
        const ListState& s = list_;
        std::string zipText = s.zipColumn != -1 ? field(record_.fields, s.zipColumn)
                                                : field(record_.fields, s.zip5Column) +
                                                      field(record_.fields, s.zip4Column);
        CityAndState cs = cityAndStateOf(s, record_.fields);
        Piece piece = zips_.parse(zipText);
        if (hasCity_)
            piece.city = mailing_.tables.cities.add(pieceCityEntry(cs.city, cs.state));
        piece.inCounty = inCounty(piece, cs.state);
        if (text_)
            lines_.push_back(record_.line);
        mailing_.tables.pieces.push_back(piece);
    }

    bool inCounty(const Piece& piece, const std::string& state) {
        if (!rule_.applies || list_.countyColumn == -1 || piece.rejected())
            return false;
        if (upperAscii(field(record_.fields, list_.countyColumn)) != rule_.county ||
            state != rule_.state)
            return false;
        ++mailing_.counters.inCountyCount;
        return true;
    }

    ListState& list_;
    std::vector<std::string>& lines_;
    Mailing& mailing_;
    ProgressSink& progress_;
    ListSource& source_;
    long n_;
    int fieldCount_;
    ZipParser zips_;
    InCountyRule rule_;
    ListRecord record_;
    bool hasCity_ = false;
    bool padded_ = false;
    bool text_ = false;
    bool toEnd_ = false;
    int wanted_ = 0;
    int step_ = 1;
};

// A mailing that appears not to qualify for in-county rates claims them only when the
// person says so; otherwise the reading tells its caller to turn them off.
void askInCountyRates(ListOpening& opening) {
    if (!inCountyRates(opening.settings))
        return;
    Mailing& mailing = opening.mailing();
    int64_t pieces = mailing.validPieces();
    if (pieces < 10000 || pieces < 2LL * mailing.counters.inCountyCount)
        return;
    ModalResult answer = opening.notices().tell(
        {BeepKind::Asterisk, MessageKind::Information, MessageButtons::OkNo,
         "For in-county rates, you must have fewer than 10000 total pcs, or, more than half of "
         "the pcs must be incounty. This mailing appears not to qualify. Do you want to use "
         "incounty rates anyway?"});
    if (answer != ModalResult::No)
        return;
    opening.reading.inCountyDeclined = true;
    for (Piece& piece : mailing.tables.pieces)
        piece.inCounty = false;
    mailing.counters.inCountyCount = 0;
}

} // namespace

void ShowReadingPicture(ProgressSink& progress, const std::string& path) {
    progress.showPage();
    progress.showCaption(ProgressSink::Caption::Top, "Reading");
    progress.showCaption(ProgressSink::Caption::Bottom, lowerAscii(fileNameOf(path)));
    progress.showIcons(5);
}

void ReadListRecords(ListOpening& opening, ListSource& source, long n, int fieldCount) {
    const std::string& path = opening.reading.list.path;
    ListState& list = opening.state();
    ShowReadingPicture(opening.people.progress, path);
    list.deletedRecordCount = 0;
    list.fieldCount = fieldCount;
    if (opening.format().text) {
        TextRecordReader first(path, opening.format(), fieldCount);
        std::string line;
        first.next(line);
        if (list.headingLine)
            list.listHeaderLine = line;
        // A list of one line has no line end to follow: the platform's own is used.
        list.lineEnd = *first.lastLineEnd() ? first.lastLineEnd() : "\r\n";
    }
    Reader(opening, source, n, fieldCount).run();
    askInCountyRates(opening);
}

} // namespace quillan
