#include "xls/SharedStringTable.h"

#include "platform/text/AnsiCodePage.h"
#include "xls/RecordId.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"
#include "xls/XlsUtils.h"

#include <algorithm>
#include <cstdio>

namespace xls {

namespace {

constexpr uint8_t KnownOptions =
    SharedStringTable::Wide | SharedStringTable::Phonetic | SharedStringTable::Rich;

std::string format(const char* pattern, int a, int b) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

std::string wideBytes(std::u16string_view text) {
    std::string bytes(2 * text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

bool fitsLatin1(std::string_view text) {
    for (char c : text)
        if (!platform::AnsiCodePage::sameAsLatin1(static_cast<uint8_t>(c)))
            return false;
    return true;
}

// The bytes of an SST record and the CONTINUE records after it, read as one sequence that
// knows where each record ends. Every read is bounded by the bytes really there.
class ContinuedRecord {
public:
    explicit ContinuedRecord(XlsStream& stream) : stream_(stream) {}

    void start() {
        RecordHeader header;
        if (!stream_.readHeader(header))
            throw XlsError("record too short");
        left_ = header.length;
    }

    size_t left() const { return left_; }

    // Moves into the next CONTINUE record; false (the header left unread) when the next
    // record is something else or the stream ends.
    bool nextRecord() {
        RecordHeader header;
        uint64_t at = stream_.position();
        if (!stream_.readHeader(header))
            return false;
        if (header.id != record::Continue) {
            stream_.seek(static_cast<int64_t>(at), SeekOrigin::Begin);
            return false;
        }
        left_ = header.length;
        return true;
    }

    void nextRecordOrFail() {
        if (!nextRecord())
            throw XlsError("CONTINUE record is missing in SST");
    }

    // Up to count bytes from the current record.
    std::string_view takeHere(size_t count) {
        std::string_view bytes = stream_.readView(std::min(count, left_));
        if (bytes.size() < std::min(count, left_))
            throw XlsError("record too short");
        left_ -= bytes.size();
        return bytes;
    }

    // count bytes, going on into CONTINUE records (no option bytes: runs, phonetic data and
    // scalars).
    std::string take(size_t count) {
        std::string bytes;
        while (bytes.size() < count) {
            if (left_ == 0)
                nextRecordOrFail();
            bytes.append(takeHere(count - bytes.size()));
        }
        return bytes;
    }

    uint32_t takeScalar(size_t width) {
        if (left_ >= width) {
            std::string_view here = takeHere(width);
            uint32_t value = 0;
            for (size_t i = 0; i < width; ++i)
                value |= static_cast<uint32_t>(static_cast<uint8_t>(here[i])) << (8 * i);
            return value;
        }
        std::string bytes = take(width);
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
        return value;
    }

private:
    XlsStream& stream_;
    size_t left_ = 0;
};

// The characters of one string, piece by piece: each piece after a record boundary starts
// with its own option byte. A 16-bit piece makes the whole string 16-bit.
std::string readCharacters(ContinuedRecord& in, uint16_t count, bool& wide) {
    std::u16string widened;
    std::string narrow;
    size_t missing = count;
    bool pieceWide = wide;
    while (missing > 0) {
        if (in.left() == 0) {
            in.nextRecordOrFail();
            if (in.left() == 0)
                continue; // an empty CONTINUE carries no option byte
            pieceWide = (static_cast<uint8_t>(in.takeHere(1)[0]) & 0x01) != 0;
            if (in.left() == 0)
                continue;
        }
        size_t width = pieceWide ? 2 : 1;
        size_t chars = std::min(missing, in.left() / width);
        if (chars == 0)
            throw XlsError("SST split error: a character is cut by a record boundary");
        std::string_view bytes = in.takeHere(chars * width);
        if (pieceWide && !wide) {
            for (char c : narrow)
                widened.push_back(static_cast<uint8_t>(c));
            wide = true;
        }
        if (!wide)
            narrow.append(bytes);
        else if (!pieceWide)
            for (char c : bytes)
                widened.push_back(static_cast<uint8_t>(c));
        else
            for (size_t i = 0; i < chars; ++i)
                widened.push_back(
                    static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          (static_cast<uint8_t>(bytes[2 * i + 1]) << 8)));
        missing -= chars;
    }
    return wide ? wideBytes(widened) : narrow;
}

// SST and CONTINUE records built in memory: each record's length is set when it is closed.
class RecordBuilder {
public:
    RecordBuilder(uint16_t id, size_t max) : max_(max) { open(id); }

    size_t room() const { return max_ - (bytes_.size() - start_ - 4); }

    SharedStringTable::Place place() const {
        return {bytes_.size(), static_cast<uint16_t>(bytes_.size() - start_)};
    }

    void put(std::string_view data) { bytes_.append(data); }

    void putScalar(uint32_t value, size_t width) {
        for (size_t i = 0; i < width; ++i)
            bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
    }

    // data split over records, without option bytes.
    void putSplit(std::string_view data) {
        while (data.size() > room()) {
            size_t fits = room();
            put(data.substr(0, fits));
            data.remove_prefix(fits);
            next();
        }
        put(data);
    }

    void next() {
        close();
        open(record::Continue);
    }

    std::string finish() {
        close();
        return std::move(bytes_);
    }

private:
    void open(uint16_t id) {
        start_ = bytes_.size();
        putScalar(id, 2);
        putScalar(0, 2);
    }

    void close() {
        size_t length = bytes_.size() - start_ - 4;
        bytes_[start_ + 2] = static_cast<char>(length & 0xFF);
        bytes_[start_ + 3] = static_cast<char>(length >> 8);
    }

    size_t max_;
    size_t start_ = 0;
    std::string bytes_;
};

// The body bytes of the SST record at the stream's position and of the CONTINUE records
// after it; the stream stays where it was.
size_t recordBytes(XlsStream& stream) {
    const uint64_t start = stream.position();
    size_t bytes = 0;
    RecordHeader header;
    for (bool first = true; stream.readHeader(header); first = false) {
        if (!first && header.id != record::Continue)
            break;
        if (stream.size() - stream.position() < header.length)
            break;
        bytes += header.length;
        stream.seek(header.length, SeekOrigin::Current);
    }
    stream.seek(static_cast<int64_t>(start), SeekOrigin::Begin);
    return bytes;
}

} // namespace

int32_t SharedStringTable::addString(std::string_view text) {
    if (!fitsLatin1(text))
        return addWideString(platform::AnsiCodePage::toUtf16(text));
    return add(false, text);
}

int32_t SharedStringTable::addWideString(std::u16string_view text) {
    return add(true, wideBytes(text));
}

int32_t SharedStringTable::addRichString(std::string_view text, std::string_view runs) {
    if (!fitsLatin1(text))
        return addRichWideString(platform::AnsiCodePage::toUtf16(text), runs);
    return addRich(false, text, runs);
}

int32_t SharedStringTable::addRichWideString(std::u16string_view text, std::string_view runs) {
    return addRich(true, wideBytes(text), runs);
}

int32_t SharedStringTable::addRich(bool wide, std::string_view chars, std::string_view runs) {
    size_t count = wide ? chars.size() / 2 : chars.size();
    if (count > 0xFFFF || runs.size() % 4 != 0 || runs.size() / 4 > 0xFFFF)
        throw RangeError();
    ++totalUseCount_;
    Entry entry;
    entry.charCount = static_cast<uint16_t>(count);
    entry.options = static_cast<uint8_t>((wide ? Wide : 0) | (runs.empty() ? 0 : Rich));
    entry.charsAt = toPool(chars);
    int32_t index = static_cast<int32_t>(entries_.size());
    if (!runs.empty()) {
        Extras extras;
        extras.index = static_cast<uint32_t>(index);
        extras.runsSize = static_cast<uint32_t>(runs.size());
        extras.runsAt = toPool(runs);
        extras.phoneticAt = static_cast<uint32_t>(pool_.size());
        extras_.push_back(extras);
    }
    append(entry, 1);
    return index;
}

uint32_t SharedStringTable::toPool(std::string_view bytes) {
    if (pool_.size() + bytes.size() > 0xFFFFFFFFu)
        throw RangeError();
    uint32_t at = static_cast<uint32_t>(pool_.size());
    pool_.append(bytes);
    return at;
}

int32_t SharedStringTable::add(bool wide, std::string_view chars) {
    ++totalUseCount_;
    size_t count = wide ? chars.size() / 2 : chars.size();
    if (count > 0xFFFF)
        throw RangeError();
    uint64_t hash = 0;
    if (searchEqual_) {
        indexEntries();
        hash = keyHash(wide, chars);
        int32_t found = findEqual(wide, chars, hash);
        if (found >= 0) {
            ++useCounts_[static_cast<size_t>(found)];
            return found;
        }
    }
    Entry entry;
    entry.charCount = static_cast<uint16_t>(count);
    entry.options = wide ? Wide : 0;
    entry.charsAt = toPool(chars);
    int32_t index = static_cast<int32_t>(entries_.size());
    append(entry, 1);
    if (searchEqual_ && indexed_ == static_cast<size_t>(index)) {
        insertIndex(hash, index);
        ++indexed_;
    }
    return index;
}

void SharedStringTable::append(const Entry& entry, int32_t useCount) {
    entries_.push_back(entry);
    useCounts_.push_back(useCount);
}

const SharedStringTable::Extras* SharedStringTable::extrasOf(size_t index) const {
    if (index >= entries_.size() || !(entries_[index].options & (Rich | Phonetic)))
        return nullptr;
    auto at = std::lower_bound(extras_.begin(), extras_.end(), index,
                               [](const Extras& e, size_t i) { return e.index < i; });
    return at != extras_.end() && at->index == index ? &*at : nullptr;
}

uint64_t SharedStringTable::keyHash(bool wide, std::string_view chars) {
    uint64_t hash = std::hash<std::string_view>()(chars) ^ (wide ? 0x9E3779B97F4A7C15u : 0u);
    return hash >> 32 ? hash >> 32 : 1; // never 0, so a slot's high half tells a used slot
}

int32_t SharedStringTable::findEqual(bool wide, std::string_view chars, uint64_t hash) const {
    if (slots_.empty())
        return -1;
    size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        uint64_t slot = slots_[at];
        if (slot == 0)
            return -1;
        if ((slot >> 32) != hash)
            continue;
        size_t index = static_cast<size_t>((slot & 0xFFFFFFFF) - 1);
        if (((entries_[index].options & Wide) != 0) == wide && this->chars(index) == chars)
            return static_cast<int32_t>((slot & 0xFFFFFFFF) - 1);
    }
}

void SharedStringTable::insertIndex(uint64_t hash, int32_t index) {
    if (2 * (slotsUsed_ + 1) > slots_.size()) {
        std::vector<uint64_t> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
        slotsUsed_ = 0;
        for (uint64_t slot : old)
            if (slot)
                insertIndex(slot >> 32, static_cast<int32_t>((slot & 0xFFFFFFFF) - 1));
    }
    size_t mask = slots_.size() - 1;
    size_t at = hash & mask;
    while (slots_[at] != 0)
        at = (at + 1) & mask;
    slots_[at] = (hash << 32) | static_cast<uint64_t>(index + 1);
    ++slotsUsed_;
}

void SharedStringTable::indexEntries() {
    // Entries read from a file are indexed only when a text is first added: reading a
    // table costs no index, and a list read and never changed never builds one. Only the
    // first of equal texts is found: later ones (a file may hold duplicates) keep their own
    // index for the cells that name it.
    // A text with formatting runs is no entry for a plain text: the cell would take its fonts.
    for (; indexed_ < entries_.size(); ++indexed_) {
        if (entries_[indexed_].options & Rich)
            continue;
        bool wide = (entries_[indexed_].options & Wide) != 0;
        std::string_view text = chars(indexed_);
        uint64_t hash = keyHash(wide, text);
        if (findEqual(wide, text, hash) < 0)
            insertIndex(hash, static_cast<int32_t>(indexed_));
    }
}

int32_t SharedStringTable::validIndex(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size())
        throw XlsError(
            format("SST index out of range (%d:%d)", index, static_cast<int>(entries_.size())));
    return index;
}

int32_t SharedStringTable::addRef(int32_t index) {
    ++useCounts_[static_cast<size_t>(validIndex(index))];
    return index;
}

std::string_view SharedStringTable::chars(size_t index) const {
    const Entry& e = entries_.at(index);
    return std::string_view(pool_.data() + e.charsAt, e.charsSize());
}

std::string_view SharedStringTable::runs(size_t index) const {
    const Extras* extras = extrasOf(index);
    return extras ? std::string_view(pool_).substr(extras->runsAt, extras->runsSize)
                  : std::string_view();
}

std::string_view SharedStringTable::phonetic(size_t index) const {
    const Extras* extras = extrasOf(index);
    return extras ? std::string_view(pool_).substr(extras->phoneticAt, extras->phoneticSize)
                  : std::string_view();
}

uint16_t SharedStringTable::hash(size_t index) const {
    return hashXlsString(chars(index));
}

std::u16string SharedStringTable::wideText(const Entry& e) const {
    std::string_view bytes(pool_.data() + e.charsAt, e.charsSize());
    std::u16string text;
    if (!(e.options & Wide)) {
        text.reserve(bytes.size());
        for (char c : bytes)
            text.push_back(static_cast<uint8_t>(c)); // compressed text is Latin-1
        return text;
    }
    text.resize(bytes.size() / 2);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return text;
}

std::string SharedStringTable::getString(int32_t index) const {
    std::string text;
    getString(index, text);
    return text;
}

void SharedStringTable::getString(int32_t index, std::string& text) const {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) {
        text.clear();
        return;
    }
    const Entry& e = entries_[static_cast<size_t>(index)];
    if (!(e.options & Wide))
        text.assign(chars(static_cast<size_t>(index)));
    else
        text = platform::AnsiCodePage::fromUtf16(wideText(e));
}

std::u16string SharedStringTable::getWideString(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size())
        return {};
    return wideText(entries_[static_cast<size_t>(index)]);
}

void SharedStringTable::clear() {
    slots_.clear();
    slotsUsed_ = 0;
    indexed_ = 0;
    entries_.clear();
    useCounts_.clear();
    extras_.clear();
    pool_.clear();
    totalUseCount_ = 0;
}

void SharedStringTable::read(XlsStream& stream) {
    const size_t bytes = recordBytes(stream);
    ContinuedRecord in(stream);
    in.start();
    totalUseCount_ = static_cast<int32_t>(in.takeScalar(4));
    int32_t count = static_cast<int32_t>(in.takeScalar(4));
    if (count < 0)
        throw RangeError();
    // Room for all of it at once: the table of a large list is read without regrowing.
    const size_t most = std::min(static_cast<size_t>(count), bytes / 3);
    entries_.reserve(entries_.size() + most);
    useCounts_.reserve(useCounts_.size() + most);
    pool_.reserve(pool_.size() + bytes);
    // The stated count only bounds the loop: every string takes at least three bytes of the
    // records, so a count larger than the data ends with the data.
    for (int32_t number = 1; number <= count; ++number) {
        if (in.left() == 0 && !in.nextRecord())
            return;
        Entry entry;
        entry.charCount = static_cast<uint16_t>(in.takeScalar(2));
        entry.options = static_cast<uint8_t>(in.takeScalar(1));
        if (entry.options & ~KnownOptions)
            throw XlsError(
                format("STT: Unhandled string type in Read (%.2X) # %d", entry.options, number));
        uint16_t runCount = (entry.options & Rich) ? static_cast<uint16_t>(in.takeScalar(2)) : 0;
        int32_t phoneticSize =
            (entry.options & Phonetic) ? static_cast<int32_t>(in.takeScalar(4)) : 0;
        if (phoneticSize < 0)
            throw XlsError("SST: phonetic data of negative size");
        bool wide = (entry.options & Wide) != 0;
        size_t whole = wide ? 2 * static_cast<size_t>(entry.charCount) : entry.charCount;
        std::string_view chars = in.left() >= whole ? in.takeHere(whole) // all in this record
                                                    : std::string_view();
        std::string pieces =
            chars.size() == whole ? std::string() : readCharacters(in, entry.charCount, wide);
        if (chars.size() != whole)
            chars = pieces;
        entry.options = static_cast<uint8_t>(wide ? entry.options | Wide : entry.options & ~Wide);
        entry.charsAt = toPool(chars);
        if (runCount || phoneticSize) {
            Extras extras;
            extras.index = static_cast<uint32_t>(entries_.size());
            std::string runs = in.take(4 * static_cast<size_t>(runCount));
            extras.runsSize = static_cast<uint32_t>(runs.size());
            extras.runsAt = toPool(runs);
            std::string phonetic = in.take(static_cast<size_t>(phoneticSize));
            extras.phoneticSize = static_cast<uint32_t>(phonetic.size());
            extras.phoneticAt = toPool(phonetic);
            extras_.push_back(extras);
        }
        append(entry, 0);
    }
}

void SharedStringTable::write(XlsStream& stream, std::vector<Place>* places) const {
    if (maxRecordSize_ < 32)
        throw RangeError(); // no room for a string's header and a character
    RecordBuilder out(record::Sst, static_cast<size_t>(maxRecordSize_));
    out.putScalar(static_cast<uint32_t>(totalUseCount_), 4);
    out.putScalar(static_cast<uint32_t>(entries_.size()), 4);
    for (size_t index = 0; index < entries_.size(); ++index) {
        const Entry& e = entries_[index];
        std::string_view runs = this->runs(index);
        std::string_view phonetic = this->phonetic(index);
        if (e.options & ~KnownOptions)
            throw XlsError(format("STT: Unhandled string type in Write (%.2X) # %d", e.options,
                                  static_cast<int>(index)));
        if (out.room() <= 15)
            out.next();
        if (places)
            places->push_back(out.place());
        out.putScalar(e.charCount, 2);
        out.putScalar(e.options, 1);
        if (e.options & Rich)
            out.putScalar(static_cast<uint32_t>(runs.size() / 4), 2);
        if (e.options & Phonetic)
            out.putScalar(static_cast<uint32_t>(phonetic.size()), 4);
        size_t width = (e.options & Wide) ? 2 : 1;
        std::string_view chars = this->chars(index);
        while (chars.size() > out.room()) {
            size_t fits = out.room() / width * width;
            out.put(chars.substr(0, fits));
            chars.remove_prefix(fits);
            out.next();
            out.putScalar(width == 2 ? 1 : 0, 1);
        }
        out.put(chars);
        out.putSplit(runs);
        out.putSplit(phonetic);
    }
    stream.writeRaw(out.finish());
}

} // namespace xls
