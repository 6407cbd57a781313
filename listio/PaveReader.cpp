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

// The pieces, built aside so that a refused file changes nothing.
struct PavePieces {
    std::vector<Piece> pieces;
    CityNames cities;
    std::vector<std::string> lines;
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
        Piece piece{.zip = strToInt(positions(line, 98, 102))};
        markZip4(p, piece, positions(line, 103, 106) == "    ");
        std::string city = positions(line, 68, 95);
        while (!city.empty() && city.back() == ' ')
            city.pop_back();
        std::string state = positions(line, 96, 97);
        piece.city = p.cities.add(pieceCityEntry(city, state));
        piece.inCounty = inCountyRule_ && positions(line, 126, 128) == county_ && state == state_;
        p.inCountyCount += piece.inCounty;
        p.lines.push_back(std::move(line));
        p.pieces.push_back(piece);
    }

private:
    // A PAVE record's ZIP+4 decides: refused where the class needs one and it is blank, or
    // takes no barcode and it is there; grouped apart in a co-sacked class when blank.
    void markZip4(PavePieces& p, Piece& piece, bool zip4Blank) {
        if ((automation_ && zip4Blank) || (unbarcoded_ && !zip4Blank)) {
            ++p.rejected;
            piece.rejection = ZipRejection::Zip4Missing;
        } else if (coSacked_ && zip4Blank) {
            ++p.missingZip4;
            piece.withoutZip4 = true;
        }
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

void commit(ListOpening& opening, PavePieces& p, const std::string& header) {
    opening.state().listHeaderLine = header.substr(0, 67);
    Mailing& mailing = opening.mailing();
    mailing.tables.pieces = std::move(p.pieces);
    mailing.tables.cities = std::move(p.cities);
    opening.reading.list.lines = std::move(p.lines);
    MailingCounters& c = mailing.counters;
    c.rejectedCount = p.rejected;
    c.missingZip4Count += p.missingZip4;
    c.inCountyCount += p.inCountyCount;
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
    n = static_cast<long>(pieces.pieces.size());
    commit(opening, pieces, source.describingLine());
    return n;
}

} // namespace quillan
