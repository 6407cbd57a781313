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

int64_t queueKey(int32_t zip, bool withoutZip4, bool inCounty) {
    return (int64_t(zip) * 2 + (withoutZip4 ? 1 : 0)) * 2 + (inCounty ? 1 : 0);
}

constexpr int32_t NoRecord = -1;

class RecordIndex {
public:
    explicit RecordIndex(const std::vector<Piece>& pieces) : taken_(pieces.size()) {
        for (size_t r = 0; r < pieces.size(); ++r) {
            const Piece& piece = pieces[r];
            if (!piece.rejected())
                queues_[queueKey(piece.zip, piece.withoutZip4, piece.inCounty)].records.push_back(
                    static_cast<int32_t>(r));
        }
    }

    Queue* find(int32_t zip, bool withoutZip4, bool inCounty) {
        auto it = queues_.find(queueKey(zip, withoutZip4, inCounty));
        return it == queues_.end() ? nullptr : &it->second;
    }

    // The first record of the queue not yet taken, or NoRecord.
    int32_t front(Queue& q) {
        while (q.head < q.records.size() && taken_[static_cast<size_t>(q.records[q.head])])
            ++q.head;
        return q.head < q.records.size() ? q.records[q.head] : NoRecord;
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
        : mailing_(mailing), onPiece_(onPiece), index_(mailing.pieces()),
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
                if (piece.record == NoRecord)
                    return;
                place(piece);
                if (++taken == pieces)
                    return;
                if (taken == inCounty)
                    break;
            }
        }
        while ((piece.record = earliest(sources.all)) != NoRecord) {
            place(piece);
            if (++taken == pieces)
                return;
        }
    }

private:
    // A co-sacked group takes the pieces of its side of the ZIP; any other group either.
    Sources sourcesOf(const ZipGroup& zipGroup, const SortGroup& group) {
        int32_t zip = zipGroup.zip < 0 ? -zipGroup.zip : zipGroup.zip;
        std::vector<bool> sides = {true, false};
        if (coSacked_)
            sides = {group.nonbarcoded};
        Sources s;
        for (bool withoutZip4 : sides) {
            for (bool mark : {true, false}) {
                Queue* q = index_.find(zip, withoutZip4, mark);
                if (!q)
                    continue;
                s.all.push_back(q);
                if (mark)
                    s.inCounty.push_back(q);
            }
        }
        return s;
    }

    // The untaken record that comes first in the list among the queues, or NoRecord.
    int32_t earliest(const std::vector<Queue*>& queues) {
        int32_t best = NoRecord;
        for (Queue* q : queues) {
            int32_t r = index_.front(*q);
            if (r != NoRecord && (best == NoRecord || r < best))
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
