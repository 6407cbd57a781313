#pragma once

#include "core/postage/InCountyTally.h"

#include <string>
#include <vector>

namespace quillan {

// One line of the postage statement's computation, as page 2 prints it. An empty text
// prints nothing.
struct StatementLine {
    // Pieces as a whole number, or the pounds of a permit-imprint pound line.
    std::string quantity;
    // The amount without "$" or thousands separators for a rate line; the Periodicals
    // charges show "$" and separators.
    std::string amount;
    // The rate column: a First-Class line's rate as rates.dat holds it, or the combined
    // per-piece rate of an affixed pound line ("0.208").
    std::string rate;

    friend bool operator==(const StatementLine&, const StatementLine&) = default;
};

// The lines of one statement copy in the order they were computed; page 2 prints a line
// by its index. Also what the lines leave behind for the rest of the statement: the
// lowest per-piece rate for the affixed-postage box and the in-county pieces the
// Periodicals lines took out of their counts.
class StatementLines {
public:
    // What the affixed-postage box shows when no line had pieces.
    static constexpr double NoPieceRate = 50.0;

    explicit StatementLines(bool permitImprint) : permitImprint_(permitImprint) {}

    bool permitImprint() const { return permitImprint_; }
    size_t size() const { return lines_.size(); }
    const StatementLine& at(size_t index) const { return lines_.at(index); }
    const std::vector<StatementLine>& lines() const { return lines_; }
    void add(StatementLine line) { lines_.push_back(std::move(line)); }

    double lowestPieceRate() const { return lowestPieceRate_; }
    // A per-piece line with pieces.
    void offerPieceRate(double rate);
    // An affixed pound line: from now on the lowest rate is the lowest combined per-piece
    // rate of the pound lines with pieces.
    void addCombinedRate(double rate);

    InCountyTally& inCounty() { return inCounty_; }
    const InCountyTally& inCounty() const { return inCounty_; }

private:
    bool permitImprint_;
    std::vector<StatementLine> lines_;
    std::vector<double> combinedRates_;
    double lowestPieceRate_ = NoPieceRate;
    InCountyTally inCounty_;
};

} // namespace quillan
