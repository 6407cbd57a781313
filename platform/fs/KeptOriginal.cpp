#include "platform/fs/KeptOriginal.h"

#include "platform/fs/FileBytes.h"
#include "platform/fs/Leftovers.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view KeptTag = ".original-";
constexpr std::string_view HandedOverTag = ".before-sorting";
constexpr std::string_view HeldTag = ".held-";
constexpr std::string_view Seal = "Quillan kept it\n";
// The record's numbers, in this order, each eight bytes with the lowest first.
enum Field {
    OldSize,
    NewSize,
    Device,
    Inode,
    AccessedSeconds,
    AccessedNanoseconds,
    ModifiedSeconds,
    ModifiedNanoseconds,
    NameLength,
    ContentsSum,
    RecordSum,
    FieldCount
};
constexpr size_t FixedPart = FieldCount * 8 + Seal.size();
constexpr size_t LongestName = 4096;
// The unit in which a stopped write leaves a file: a kill stops a write between two pages.
constexpr size_t Page = 4096;

void putNumber(std::string& out, unsigned long long n) {
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((n >> (8 * i)) & 0xFF);
}

unsigned long long numberAt(std::string_view bytes, size_t field) {
    unsigned long long n = 0;
    for (int i = 7; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(bytes[field * 8 + static_cast<size_t>(i)]);
    return n;
}

// The name and the numbers up to the record's own checksum, as the copy holds them.
std::string recordBytes(const KeptRecord& r, unsigned long long contentsSum) {
    std::string out = r.name;
    const unsigned long long numbers[] = {r.oldSize,
                                          r.newSize,
                                          r.device,
                                          r.inode,
                                          static_cast<unsigned long long>(r.accessed.tv_sec),
                                          static_cast<unsigned long long>(r.accessed.tv_nsec),
                                          static_cast<unsigned long long>(r.modified.tv_sec),
                                          static_cast<unsigned long long>(r.modified.tv_nsec),
                                          r.name.size(),
                                          contentsSum};
    for (unsigned long long n : numbers)
        putNumber(out, n);
    return out;
}

unsigned long long sumOf(std::string_view bytes) {
    ByteChecksum sum;
    sum.add(bytes);
    return sum.value();
}

// Appends every byte of `from` to `to` (at its position), adding them to the sum; the
// number of bytes, or nothing with `error` set.
std::optional<unsigned long long> append(int from, int to, ByteChecksum& sum, int& error) {
    unsigned long long length = 0;
    error = readEachBlock(from, [&](std::string_view block) {
        sum.add(block);
        length += block.size();
        return writeAll(to, block);
    });
    return error == 0 ? std::optional(length) : std::nullopt;
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One page [a, b) of the file is the bytes as they were then the new ones, or the new ones
// then those as they were, split anywhere (or all of one); each side holds its bytes only as
// far as it reaches.
bool pageLeft(std::string_view file, std::string_view old, std::string_view fresh, size_t a,
              size_t b) {
    auto prefix = [&](std::string_view other) {
        size_t k = a;
        while (k < b && k < other.size() && file[k] == other[k])
            ++k;
        return k - a;
    };
    auto suffix = [&](std::string_view other) {
        size_t k = b;
        while (k > a && k - 1 < other.size() && file[k - 1] == other[k - 1])
            --k;
        return b - k;
    };
    const size_t length = b - a;
    return prefix(fresh) + suffix(old) >= length || prefix(old) + suffix(fresh) >= length;
}

} // namespace

std::string keptOriginalPath(const std::string& path, unsigned long long inode, int number) {
    std::string ending = std::to_string(inode);
    if (number > 1)
        ending += "-" + std::to_string(number);
    return hiddenNameBeside(path, KeptTag, ending);
}

int writeKeptOriginal(int kept, int file, int newContents, KeptRecord& record) {
    ByteChecksum contents;
    int error = 0;
    const auto oldSize = append(file, kept, contents, error);
    if (!oldSize)
        return error;
    const auto newSize = append(newContents, kept, contents, error);
    if (!newSize)
        return error;
    record.oldSize = *oldSize;
    record.newSize = *newSize;
    std::string trailer = recordBytes(record, contents.value());
    putNumber(trailer, sumOf(trailer));
    trailer += Seal;
    if ((error = writeAll(kept, trailer)) != 0)
        return error;
    return fsync(kept) == 0 ? 0 : errno;
}

int nameKeptOriginal(FileBeside& kept, const std::string& path, unsigned long long inode) {
    int error = EEXIST;
    for (int number = 1; number <= 100 && error == EEXIST; ++number)
        error = kept.nameAs(keptOriginalPath(path, inode, number));
    return error;
}

int putBackKeptOriginal(int kept, int file, const KeptRecord& record) {
    if (int error = copyOver(kept, file, {}, {0, record.oldSize}); error != 0)
        return error;
    const struct timespec times[2] = {record.accessed, record.modified};
    futimens(file, times);
    return 0;
}

std::string beforeSortingPath(const std::string& path, int number) {
    const fs::path hidden =
        hiddenNameBeside(path, HandedOverTag, number > 1 ? "-" + std::to_string(number) : "");
    return (hidden.parent_path() / hidden.filename().string().substr(1)).string();
}

namespace {

// Whether the file at `path` holds exactly the first `length` bytes of `kept`.
bool holdsTheSame(const std::string& path, int kept, unsigned long long length) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    bool same = fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<unsigned long long>(st.st_size) == length;
    std::string theirs, ours;
    for (unsigned long long at = 0; same && at < length; at += 1 << 20) {
        const size_t part = static_cast<size_t>(std::min<unsigned long long>(1 << 20, length - at));
        same = readAt(fd, at, part, theirs) == 0 && readAt(kept, at, part, ours) == 0 &&
               theirs == ours;
    }
    if (fd >= 0)
        close(fd);
    return same;
}

// The file as it was, made anew from the copy and named after the file before sorting,
// never over a file; "" with `error` set when it cannot be.
std::string writeBeforeSorting(int kept, const std::string& file, const KeptRecord& record,
                               int& error) {
    FileBeside out(file, TemporaryFilePattern, 0600);
    if (!out.ok()) {
        error = out.error();
        return {};
    }
    if ((error = copyOver(kept, out.fd(), {}, {0, record.oldSize})) != 0)
        return {};
    const struct timespec times[2] = {record.accessed, record.modified};
    futimens(out.fd(), times);
    error = EEXIST;
    std::string named;
    for (int number = 1; number <= 100 && error == EEXIST; ++number) {
        named = beforeSortingPath(file, number);
        error = out.nameAs(named);
    }
    if (error != 0)
        return {};
    out.keepName();
    return named;
}

} // namespace

// The copy stays whole, under its name, until the file as it was is wholly under its new
// one: a kill between leaves both, and the next hand-over finds the file as it was already
// named and only removes the copy, so that no kill leaves a cut copy under the copy's name
// nor a second copy of the same bytes.
std::string handOverKeptOriginal(int kept, const std::string& keptPath, const KeptRecord& record,
                                 int& error) {
    const std::string file = (fs::path(folderOf(keptPath)) / record.name).string();
    std::string named;
    for (int number = 1; number <= 100 && named.empty(); ++number) {
        const std::string candidate = beforeSortingPath(file, number);
        if (!fs::exists(candidate))
            break;
        if (holdsTheSame(candidate, kept, record.oldSize))
            named = candidate;
    }
    error = 0;
    if (named.empty())
        named = writeBeforeSorting(kept, file, record, error);
    if (named.empty())
        return {};
    syncFolderOf(named);
    ownFileStep();
    unlink(keptPath.c_str());
    syncFolderOf(keptPath);
    return named;
}

std::string heldNamePath(const std::string& path, unsigned long long inode) {
    return hiddenNameBeside(path, HeldTag, std::to_string(inode));
}

std::string holdFile(int fd, const std::string& path) {
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return {};
    const std::string held = heldNamePath(path, st.st_ino);
    const int error = linkOpenFile(fd, held);
    struct stat named {};
    // Held already, by a write stopped before it could remove its held name.
    if (error == EEXIST && lstat(held.c_str(), &named) == 0 && named.st_dev == st.st_dev &&
        named.st_ino == st.st_ino)
        return held;
    return error == 0 ? held : std::string();
}

void releaseHeldName(const std::string& held, unsigned long long device, unsigned long long inode) {
    struct stat st {};
    if (held.empty() || lstat(held.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_dev != device || st.st_ino != inode)
        return;
    ownFileStep();
    unlink(held.c_str());
}

namespace {

// The inode a name of this tag (".NAME" + tag + INODE, "-N" after it for a copy) is made
// for; nothing for a name of another shape.
std::optional<unsigned long long> inodeNamed(const std::string& name, std::string_view tag,
                                             bool numbered) {
    const size_t at = name.rfind(tag);
    if (name.empty() || name.front() != '.' || at == std::string::npos || at == 0)
        return std::nullopt;
    const std::string ending = name.substr(at + tag.size());
    const std::string number = ending.substr(0, numbered ? ending.find('-') : ending.size());
    const std::string after = ending.substr(number.size());
    if (!allDigits(number) || number.size() > 20 || (!after.empty() && !allDigits(after.substr(1))))
        return std::nullopt;
    return std::stoull(number);
}

} // namespace

void releaseOrphanHeldNames(const std::string& folder, unsigned long long lockedDevice,
                            unsigned long long lockedInode) {
    std::set<unsigned long long> kept;
    std::vector<std::pair<fs::path, unsigned long long>> held;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (auto inode = inodeNamed(name, KeptTag, true))
            kept.insert(*inode);
        else if (auto heldInode = inodeNamed(name, HeldTag, false))
            held.push_back({entry.path(), *heldInode});
    }
    for (const auto& [path, inode] : held) {
        if (kept.count(inode))
            continue;
        const int fd = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || fstat(fd, &st) != 0 || st.st_ino != inode) {
            if (fd >= 0)
                close(fd);
            continue;
        }
        // A write that has held its file but not yet named its copy holds the file's lock.
        const bool lockedHere = st.st_dev == lockedDevice && st.st_ino == lockedInode;
        if (lockedHere || lockForWriting(fd))
            releaseHeldName(path.string(), st.st_dev, inode);
        close(fd);
    }
}

std::vector<KeptCandidate> keptOriginalCandidates(const std::string& path,
                                                  unsigned long long inode) {
    std::vector<KeptCandidate> found;
    std::set<unsigned long long> heldHere; // the inodes of the plain files in the folder
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec)) {
        // Only a plain file is ever opened: a device or a pipe under such a name is no copy.
        struct stat st {};
        if (lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        heldHere.insert(st.st_ino);
        const std::string name = entry.path().filename().string();
        if (const std::optional<unsigned long long> named = inodeNamed(name, KeptTag, true))
            found.push_back({entry.path().string(), *named == inode, *named});
    }
    // A copy named after the file read, or kept of a file a name in the folder still holds,
    // whichever of its names the person replaced.
    std::erase_if(found, [&](const KeptCandidate& candidate) {
        const std::string name = fs::path(candidate.path).filename().string();
        const std::string first =
            fs::path(keptOriginalPath(path, candidate.inode)).filename().string();
        const bool ofThisName = name.compare(0, first.size(), first) == 0 &&
                                (name.size() == first.size() || name[first.size()] == '-');
        return !candidate.ofThisInode && !ofThisName && !heldHere.count(candidate.inode);
    });
    std::sort(found.begin(), found.end(),
              [](const KeptCandidate& a, const KeptCandidate& b) { return a.path < b.path; });
    return found;
}

KeptOriginal::KeptOriginal(const std::string& path) : path_(path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))
        return;
    if (!lockForWriting(fd_)) {
        inUse_ = true;
        return;
    }
    sealed_ = readRecord() && contentsAsSealed();
}

KeptOriginal::~KeptOriginal() {
    if (fd_ >= 0)
        close(fd_);
}

bool KeptOriginal::readRecord() {
    struct stat st {};
    fstat(fd_, &st);
    const auto size = static_cast<unsigned long long>(st.st_size);
    std::string fixed;
    if (size < FixedPart || readAt(fd_, size - FixedPart, FixedPart, fixed) != 0 ||
        fixed.size() != FixedPart || fixed.substr(FieldCount * 8) != Seal)
        return false;
    const unsigned long long nameLength = numberAt(fixed, NameLength);
    KeptRecord& r = record_;
    r.oldSize = numberAt(fixed, OldSize);
    r.newSize = numberAt(fixed, NewSize);
    if (nameLength == 0 || nameLength > LongestName || r.oldSize > size || r.newSize > size ||
        r.oldSize + r.newSize + nameLength + FixedPart != size)
        return false;
    if (readAt(fd_, r.oldSize + r.newSize, nameLength, r.name) != 0 || r.name.size() != nameLength)
        return false;
    r.device = numberAt(fixed, Device);
    r.inode = numberAt(fixed, Inode);
    r.accessed = {static_cast<time_t>(numberAt(fixed, AccessedSeconds)),
                  static_cast<long>(numberAt(fixed, AccessedNanoseconds))};
    r.modified = {static_cast<time_t>(numberAt(fixed, ModifiedSeconds)),
                  static_cast<long>(numberAt(fixed, ModifiedNanoseconds))};
    contentsSum_ = numberAt(fixed, ContentsSum);
    return sumOf(recordBytes(r, contentsSum_)) == numberAt(fixed, RecordSum);
}

// The bytes as they were and the new ones are still those the record was sealed over.
bool KeptOriginal::contentsAsSealed() const {
    ByteChecksum sum;
    const int error = readEachBlock(fd_,
                                    [&](std::string_view block) {
                                        sum.add(block);
                                        return 0;
                                    },
                                    {0, record_.oldSize + record_.newSize});
    return error == 0 && sum.value() == contentsSum_;
}

bool KeptOriginal::leftIn(int file) const {
    struct stat st {};
    if (fstat(file, &st) != 0)
        return false;
    const auto size = static_cast<unsigned long long>(st.st_size);
    const unsigned long long oldSize = record_.oldSize, newSize = record_.newSize;
    // Any size between: a write that shrinks the file cuts it at its end, but putting the
    // file back grows it again as it goes.
    if (size < std::min(oldSize, newSize) || size > std::max(oldSize, newSize))
        return false;
    constexpr size_t Chunk = 256 * Page;
    std::string bytes, old, fresh;
    for (unsigned long long at = 0; at < size; at += Chunk) {
        const size_t length = static_cast<size_t>(std::min<unsigned long long>(Chunk, size - at));
        auto within = [&](unsigned long long end) {
            return static_cast<size_t>(
                std::min<unsigned long long>(length, end > at ? end - at : 0));
        };
        if (readAt(file, at, length, bytes) != 0 || bytes.size() != length ||
            readAt(fd_, at, within(oldSize), old) != 0 ||
            readAt(fd_, oldSize + at, within(newSize), fresh) != 0)
            return false;
        for (size_t a = 0; a < length; a += Page)
            if (!pageLeft(bytes, old, fresh, a, std::min(a + Page, length)))
                return false;
    }
    return true;
}

int KeptOriginal::putBack(int file) const {
    return putBackKeptOriginal(fd_, file, record_);
}

int KeptOriginal::handOver() {
    int error = 0;
    std::string named = handOverKeptOriginal(fd_, path_, record_, error);
    if (named.empty())
        return error;
    path_ = std::move(named);
    sealed_ = false;
    return 0;
}

void KeptOriginal::remove() {
    unlink(path_.c_str());
}

} // namespace platform
