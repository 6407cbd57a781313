#include "listio/PresortOrder.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace quillan {

namespace {

// The records of one ZIP key, sign and in-county mark, in list order. Taken records are
// passed over once and for all by moving the head.
struct Queue {
    std::vector<int32_t> records;
    size_t head = 0;
};

// -1 for a record without ZIP+4 in a co-sacked mailing (a negative value), +1 for the others.
int signClass(int32_t value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

int64_t queueKey(int64_t absoluteZip, int sign, bool inCounty) {
    return (absoluteZip * 3 + (sign + 1)) * 2 + (inCounty ? 1 : 0);
}

int64_t absolute(int64_t v) {
    return v < 0 ? -v : v;
}

class RecordIndex {
public:
    RecordIndex(const WorkTables& t, int32_t records) : taken_(static_cast<size_t>(records) + 1) {
        for (int32_t r = 1; r <= records; ++r) {
            int32_t value = t.pieceZips[static_cast<size_t>(r)];
            if (value <= -100000)
                continue; // rejected
            bool inCounty = t.pieceInCounty[static_cast<size_t>(r)] == 1;
            queues_[queueKey(absolute(value % 100000), signClass(value), inCounty)]
                .records.push_back(r);
        }
    }

    Queue* find(int64_t absoluteZip, int sign, bool inCounty) {
        auto it = queues_.find(queueKey(absoluteZip, sign, inCounty));
        return it == queues_.end() ? nullptr : &it->second;
    }

    // The first record of the queue not yet taken, or 0.
    int32_t front(Queue& q) {
        while (q.head < q.records.size() && taken_[static_cast<size_t>(q.records[q.head])])
            ++q.head;
        return q.head < q.records.size() ? q.records[q.head] : 0;
    }

    void take(int32_t r) { taken_[static_cast<size_t>(r)] = true; }

private:
    std::unordered_map<int64_t, Queue> queues_;
    std::vector<bool> taken_;
};

// The queues a ZIP group may draw from, split by in-county mark.
struct Sources {
    std::vector<Queue*> inCounty;
    std::vector<Queue*> all;
};

class Walk {
public:
    Walk(const SortedMailing& mailing, const std::function<void(const PlacedPiece&)>& onPiece)
        : mailing_(mailing), onPiece_(onPiece), index_(mailing.tables(), recordRows(mailing)),
          coSacked_(mailing.mailClass().isCoSacked()), inCountyFirst_(inCountyFirst(mailing)) {}

    void zipGroup(int32_t z, int32_t g, int32_t c) {
        const ZipGroup& zip = mailing_.zipGroups()[static_cast<size_t>(z)];
        Sources sources = sourcesOf(zip, mailing_.sortGroups()[static_cast<size_t>(g)]);
        const int32_t pieces = zip.pieces;
        const int32_t inCounty = zip.inCounty;
        int32_t taken = 0;
        PlacedPiece piece{0, z, g, c};
        // The in-county pieces first; when they run out before the group's in-county count
        // is reached, the group ends there.
        if (inCountyFirst_ && inCounty > 0) {
            for (;;) {
                piece.record = earliest(sources.inCounty);
                if (piece.record == 0)
                    return;
                place(piece);
                if (++taken == pieces)
                    return;
                if (taken == inCounty)
                    break;
            }
        }
        while ((piece.record = earliest(sources.all)) != 0) {
            place(piece);
            if (++taken == pieces)
                return;
        }
    }

private:
    static int32_t recordRows(const SortedMailing& mailing) {
        const WorkTables& t = mailing.tables();
        size_t rows = std::min(t.pieceZips.size(), t.pieceInCounty.size());
        int64_t records = std::min<int64_t>(mailing.counters().recordCount,
                                            rows == 0 ? 0 : static_cast<int64_t>(rows) - 1);
        return static_cast<int32_t>(std::max<int64_t>(records, 0));
    }

    Sources sourcesOf(const ZipGroup& zipGroup, const SortGroup& group) {
        int64_t zip = absolute(zipGroup.zip);
        std::vector<int> signs = {-1, 0, 1};
        if (coSacked_)
            signs = {group.nonbarcoded ? -1 : 1};
        Sources s;
        for (int sign : signs) {
            for (bool mark : {true, false}) {
                Queue* q = index_.find(zip, sign, mark);
                if (!q)
                    continue;
                s.all.push_back(q);
                if (mark)
                    s.inCounty.push_back(q);
            }
        }
        return s;
    }

    // The untaken record that comes first in the list among the queues, or 0.
    int32_t earliest(const std::vector<Queue*>& queues) {
        int32_t best = 0;
        for (Queue* q : queues) {
            int32_t r = index_.front(*q);
            if (r != 0 && (best == 0 || r < best))
                best = r;
        }
        return best;
    }

    void place(const PlacedPiece& piece) {
        index_.take(piece.record);
        onPiece_(piece);
    }

    const SortedMailing& mailing_;
    const std::function<void(const PlacedPiece&)>& onPiece_;
    RecordIndex index_;
    bool coSacked_;
    bool inCountyFirst_;
};

} // namespace

bool inCountyFirst(const SortedMailing& mailing) {
    return mailing.mailClass().isPeriodicals() && mailing.periodical().inCountyRates();
}

void WalkPresortOrder(const SortedMailing& mailing,
                      const std::function<void(int32_t)>& beforeContainer,
                      const std::function<void(const PlacedPiece&)>& onPiece) {
    Walk walk(mailing, onPiece);
    for (size_t c = 0; c < mailing.containers().size(); ++c) {
        if (beforeContainer)
            beforeContainer(static_cast<int32_t>(c));
        for (int32_t g : mailing.sortGroupsIn(c))
            for (int32_t z : mailing.zipGroupsOf(static_cast<size_t>(g)))
                walk.zipGroup(z, g, static_cast<int32_t>(c));
    }
}

} // namespace quillan
