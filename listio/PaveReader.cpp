#include "listio/PaveReader.h"

#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/ListNotices.h"
#include "listio/ListPaths.h"
#include "listio/PieceCity.h"

namespace quillan {

using namespace platform;

namespace {

constexpr size_t PaveLineLength = 128;
constexpr size_t ZipEnd = 102; // the last position the ZIP code needs

// Positions from..to (1-based, inclusive), blanks where the line is shorter.
std::string positions(const std::string& line, size_t from, size_t to) {
    std::string part = from <= line.size() ? line.substr(from - 1, to - from + 1) : "";
    part.resize(to - from + 1, ' ');
    return part;
}

bool allDigits(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The tables of the pieces, built aside so that a refused file changes nothing.
struct PavePieces {
    std::vector<std::string> records, cities;
    std::vector<uint8_t> inCounty;
    std::vector<int32_t> zips;
    int32_t rejected = 0, missingZip4 = 0, inCountyCount = 0;
};

class PaveLineReader {
public:
    explicit PaveLineReader(const SettingsLists& settings) {
        const MailTypeSettings& mailType = settings.mailTypeList;
        automation_ = mailType.isAutomation();
        unbarcoded_ = mailType.isUnbarcoded();
        coSacked_ = mailType.isCoSacked();
        inCountyRule_ = inCountyRates(settings);
        county_ = upperAscii(settings.periodicalList.county());
        state_ = upperAscii(settings.mailerList.state());
    }

    void add(PavePieces& p, std::string line) {
        if (line.size() > PaveLineLength)
            line.resize(PaveLineLength);
        int32_t zip = strToInt(positions(line, 98, 102));
        bool zip4Blank = positions(line, 103, 106) == "    ";
        p.zips.push_back(zipValue(p, zip, zip4Blank));
        std::string city = positions(line, 68, 95);
        while (!city.empty() && city.back() == ' ')
            city.pop_back();
        std::string state = positions(line, 96, 97);
        p.cities.push_back(pieceCityEntry(city, state));
        bool inCounty = inCountyRule_ && positions(line, 126, 128) == county_ && state == state_;
        p.inCounty.push_back(inCounty ? 1 : 0);
        p.inCountyCount += inCounty;
        p.records.push_back(std::move(line));
    }

private:
    int32_t zipValue(PavePieces& p, int32_t zip, bool zip4Blank) {
        if ((automation_ && zip4Blank) || (unbarcoded_ && !zip4Blank)) {
            ++p.rejected;
            return -(zip + 700000);
        }
        if (coSacked_ && zip4Blank) {
            ++p.missingZip4;
            return -zip;
        }
        return zip;
    }

    bool automation_ = false;
    bool unbarcoded_ = false;
    bool coSacked_ = false;
    bool inCountyRule_ = false;
    std::string county_;
    std::string state_;
};

void refuse(Notices& notices, const std::string& text) {
    refuseList(notices, text + " Quillan cannot read this file.");
}

void commit(Mailing& mailing, PavePieces& p, const std::string& header, long n) {
    auto& t = mailing.tables;
    if (t.pieceRecords.empty())
        t.pieceRecords.emplace_back();
    t.pieceRecords[0] = header.substr(0, 67);
    for (size_t i = 0; i < p.zips.size(); ++i) {
        t.pieceRecords.push_back(std::move(p.records[i]));
        t.pieceZips.push_back(p.zips[i]);
        t.pieceCities.push_back(std::move(p.cities[i]));
        t.pieceInCounty.push_back(p.inCounty[i]);
    }
    MailingCounters& c = mailing.counters;
    c.rejectedCount = p.rejected;
    c.missingZip4Count += p.missingZip4;
    c.inCountyCount += p.inCountyCount;
    c.recordCount = static_cast<int32_t>(n);
}

} // namespace

long ReadPaveRecords(ListOpening& opening, ListSource& source, const std::string& path, long n) {
    PaveLineReader pave(opening.settings);
    PavePieces pieces;
    std::string name = fileNameOf(path);
    ListRecord record;
    for (long k = 1; k <= n; ++k) {
        if (!source.read(k, 0, record))
            break;
        std::string where = "Line " + std::to_string(k + 1) + " of " + name;
        if (record.line.size() < ZipEnd) {
            refuse(opening.notices(), where + " is too short to be a PAVE record.");
            return 0;
        }
        if (!allDigits(positions(record.line, 98, 102))) {
            refuse(opening.notices(), where + " has no 5-digit zip code in positions 98 to 102.");
            return 0;
        }
        pave.add(pieces, std::move(record.line));
    }
    n = static_cast<long>(pieces.zips.size());
    commit(opening.mailing(), pieces, source.describingLine(), n);
    return n;
}

} // namespace quillan
