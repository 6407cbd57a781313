#include "xls/KeptRecords.h"

namespace xls {

uint32_t& KeptRecords::countOf(std::vector<std::pair<uint16_t, uint32_t>>& counts, uint16_t id) {
    for (auto& [known, count] : counts)
        if (known == id)
            return count;
    return counts.emplace_back(id, 0).second;
}

KeptRecords::Mark KeptRecords::countMade(uint16_t id) {
    ++countOf(held_, id);
    Mark mark{Mark::Kind::Record, id, ++countOf(made_, id)};
    if (runOpen_ && runs_.back().before.kind == Mark::Kind::None)
        runs_.back().before = mark;
    runOpen_ = false;
    return mark;
}

void KeptRecords::keep(std::string_view records, uint16_t id, bool drawing, bool joinsRun,
                       Mark after, bool counts) {
    if (counts)
        ++countOf(held_, id);
    if (!(joinsRun && runOpen_))
        runs_.push_back(Run{after, {}, {}});
    std::vector<Piece>& pieces = runs_.back().pieces;
    if (!pieces.empty() && pieces.back().drawing == drawing)
        pieces.back().records.append(records);
    else
        pieces.push_back(Piece{std::string(records), drawing});
    runOpen_ = true;
}

uint32_t KeptRecords::held(uint16_t id) const {
    for (const auto& [known, count] : held_)
        if (known == id)
            return count;
    return 0;
}

void KeptRecords::keepMadeBody(uint16_t id, std::string_view body) {
    for (auto& [known, bodies] : madeBodies_)
        if (known == id) {
            bodies.emplace_back(body);
            return;
        }
    madeBodies_.emplace_back(id, std::vector<std::string>{std::string(body)});
}

std::string_view KeptRecords::madeOrAsRead(uint16_t id, uint32_t occurrence,
                                           std::string_view made) const {
    for (const auto& [known, bodies] : madeBodies_) {
        if (known != id)
            continue;
        if (occurrence < bodies.size() && bodies[occurrence].size() > made.size() &&
            std::string_view(bodies[occurrence]).substr(0, made.size()) == made)
            return bodies[occurrence];
        break;
    }
    return made;
}

void KeptRecords::clear() {
    runs_.clear();
    madeBodies_.clear();
    bof.clear();
    held_.clear();
    made_.clear();
    runOpen_ = false;
    read = false;
}

} // namespace xls
