#include "mdbengine/tables/IndexTree.h"

#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"

#include <algorithm>
#include <iterator>

namespace mdbengine::file {

namespace {

// Deeper trees than this are loops: a page of entries of 255 bytes still holds seven.
constexpr int maxDepth = 32;

bool less(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

// The first entry not below `target` (a key and row pointer).
auto lowerBound(std::vector<IndexEntry>& entries, std::span<const std::uint8_t> target, bool leaf) {
    return std::lower_bound(entries.begin(), entries.end(), target,
                            [leaf](const IndexEntry& entry, std::span<const std::uint8_t> t) {
                                return less(keyAndRow(entry, leaf), t);
                            });
}

void setChild(IndexEntry& entry, std::uint32_t page) {
    entry.resize(entry.size() - childPointerSize);
    appendChildPointer(page, entry);
}

std::size_t rawBytes(const std::vector<IndexEntry>& entries) {
    std::size_t bytes = 0;
    for (const IndexEntry& entry : entries)
        bytes += entry.size();
    return bytes;
}

// Where to cut a page's entries so that each side holds about half the bytes.
std::size_t halfway(const std::vector<IndexEntry>& entries) {
    std::size_t half = rawBytes(entries) / 2;
    std::size_t bytes = 0;
    std::size_t cut = 0;
    while (cut < entries.size() && bytes < half)
        bytes += entries[cut++].size();
    return cut;
}

} // namespace

IndexTree::IndexTree(PageStore& pages, std::uint32_t tablePage, const StoredIndex& index)
    : pages_(pages), tablePage_(tablePage), root_(index.rootPage), usageMap_(index.usageMap),
      capacity_(indexPageCapacity(pages.format())) {}

void IndexTree::checkShape() {
    std::set<std::uint32_t> reached;
    std::vector<std::uint32_t> level{root_};
    for (int depth = 0; !level.empty(); ++depth) {
        if (depth == maxDepth)
            throw FormatError("the pages of an index form a loop");
        std::vector<std::uint32_t> below;
        for (std::size_t i = 0; i < level.size(); ++i) {
            if (!reached.insert(level[i]).second)
                throw FormatError("index page " + std::to_string(level[i]) +
                                  " is reached twice: its child pointers loop");
            const IndexNode& node = load(level[i]);
            std::uint32_t before = i == 0 ? 0 : level[i - 1];
            std::uint32_t after = i + 1 == level.size() ? 0 : level[i + 1];
            if (node.prev != before || node.next != after)
                throw FormatError("index page " + std::to_string(level[i]) +
                                  " is not linked to its neighbours: its sibling chain is broken");
            if (node.leaf)
                continue;
            for (const IndexEntry& entry : node.entries)
                below.push_back(entryChild(entry));
            if (node.tail != 0)
                below.push_back(node.tail);
        }
        level = std::move(below);
    }
}

IndexNode& IndexTree::load(std::uint32_t page) {
    auto found = nodes_.find(page);
    if (found != nodes_.end())
        return found->second;
    return nodes_.emplace(page, readIndexPage(pages_.page(page), pages_.format())).first->second;
}

IndexNode& IndexTree::change(std::uint32_t page) {
    IndexNode& node = load(page);
    dirty_.insert(page);
    return node;
}

std::uint32_t IndexTree::newPage(bool leaf) {
    std::uint32_t page = 0;
    if (!released_.empty()) {
        page = released_.back();
        released_.pop_back();
        reusePage(pages_, page);
    } else {
        page = allocatePage(pages_);
    }
    markInUsageMap(pages_, usageMap_, page);
    IndexNode& node = nodes_[page];
    node = IndexNode{};
    node.leaf = leaf;
    dirty_.insert(page);
    return page;
}

void IndexTree::freePage(std::uint32_t page) {
    nodes_.erase(page);
    dirty_.erase(page);
    unmarkInUsageMap(pages_, usageMap_, page);
    releasePage(pages_, page);
    released_.push_back(page);
}

void IndexTree::flush() {
    for (std::uint32_t page : dirty_)
        writeIndexPage(nodes_.at(page), pages_.format(), tablePage_, pages_.pageForChange(page));
    dirty_.clear();
}

std::uint32_t IndexTree::childAt(const IndexNode& node, std::size_t slot) const {
    return slot < node.entries.size() ? entryChild(node.entries[slot]) : node.tail;
}

// Follows the first child whose last entry is not below the target, else the tail.
std::uint32_t IndexTree::descend(std::span<const std::uint8_t> target, std::vector<Step>& path) {
    path.clear();
    std::uint32_t page = root_;
    for (int depth = 0; depth < maxDepth; ++depth) {
        IndexNode& node = load(page);
        if (node.leaf)
            return page;
        auto slot = static_cast<std::size_t>(lowerBound(node.entries, target, false) -
                                             node.entries.begin());
        if (slot == node.entries.size() && node.tail == 0) {
            if (node.entries.empty())
                throw FormatError("an intermediate index page has no children");
            slot = node.entries.size() - 1;
        }
        path.push_back({page, slot});
        page = childAt(node, slot);
    }
    throw FormatError("the pages of an index form a loop");
}

IndexEntry IndexTree::lastEntryBelow(std::uint32_t page) {
    for (int depth = 0; depth < maxDepth; ++depth) {
        const IndexNode& node = load(page);
        if (node.leaf) {
            if (node.entries.empty())
                return {};
            auto last = keyAndRow(node.entries.back(), true);
            return IndexEntry(last.begin(), last.end());
        }
        page = node.tail != 0         ? node.tail
               : node.entries.empty() ? 0
                                      : entryChild(node.entries.back());
        if (page == 0)
            return {};
    }
    throw FormatError("the pages of an index form a loop");
}

IndexEntry IndexTree::separatorFor(std::uint32_t page) {
    IndexEntry separator = lastEntryBelow(page);
    if (!separator.empty())
        appendChildPointer(page, separator);
    return separator;
}

bool IndexTree::overflows(std::uint32_t page) {
    const IndexNode& node = load(page);
    return rawBytes(node.entries) > capacity_ &&
           indexEntryBytes(node.entries, pages_.format()) > capacity_;
}

IndexTree::LeafPlace IndexTree::placeOf(std::span<const std::uint8_t> key, std::uint32_t rowId) {
    LeafPlace place;
    place.entry.assign(key.begin(), key.end());
    appendRowPointer(rowId, place.entry);
    place.page = descend(place.entry, place.path);
    std::vector<IndexEntry>& entries = load(place.page).entries;
    auto at = lowerBound(entries, place.entry, true);
    place.slot = static_cast<std::size_t>(at - entries.begin());
    place.found = at != entries.end() && *at == place.entry;
    return place;
}

void IndexTree::insert(std::span<const std::uint8_t> key, std::uint32_t rowId) {
    LeafPlace place = placeOf(key, rowId);
    if (place.found)
        return;
    const IndexNode& leaf = load(place.page);
    bool last = place.slot == leaf.entries.size();
    bool appended = last && leaf.next == 0;
    std::vector<IndexEntry>& entries = change(place.page).entries;
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(place.slot), place.entry);
    splitUp(place.page, place.path, appended);
    if (last)
        refreshSeparators(place.entry);
}

void IndexTree::splitUp(std::uint32_t page, std::vector<Step>& path, bool appended) {
    while (overflows(page)) {
        if (path.empty()) {
            splitRoot(appended);
            return;
        }
        Step parent = path.back();
        path.pop_back();
        attach(parent, page, split(page, appended));
        const IndexNode& above = load(parent.page);
        appended = appended && above.next == 0 && parent.slot + 1 == above.entries.size();
        page = parent.page;
    }
}

// The page keeps the first entries; a new page after it takes the others. An intermediate
// page gives up the entry at the cut: its child becomes the page's tail.
std::uint32_t IndexTree::split(std::uint32_t page, bool appended) {
    IndexNode& node = change(page);
    std::size_t count = node.entries.size();
    std::size_t kept = node.leaf ? 1 : 2;
    if (count < kept + 1)
        throw FormatError("an index entry does not fit a page");
    std::size_t cut =
        appended ? count - kept : std::clamp(halfway(node.entries), std::size_t{1}, count - kept);
    std::uint32_t right = newPage(node.leaf);
    IndexNode& left = nodes_.at(page);
    IndexNode& fresh = nodes_.at(right);
    auto from = left.entries.begin() + static_cast<std::ptrdiff_t>(node.leaf ? cut : cut + 1);
    fresh.entries.assign(std::make_move_iterator(from),
                         std::make_move_iterator(left.entries.end()));
    if (!left.leaf) {
        fresh.tail = left.tail;
        left.tail = entryChild(left.entries[cut]);
    }
    left.entries.resize(cut);
    fresh.prev = page;
    fresh.next = left.next;
    if (left.next != 0)
        change(left.next).prev = right;
    nodes_.at(page).next = right;
    return right;
}

// After a split: the parent names the left page by its last entry, and the right page where
// it named the page before.
void IndexTree::attach(const Step& parent, std::uint32_t left, std::uint32_t right) {
    IndexEntry separator = separatorFor(left);
    IndexNode& node = change(parent.page);
    if (parent.slot >= node.entries.size()) {
        node.tail = right;
        node.entries.push_back(std::move(separator));
        return;
    }
    setChild(node.entries[parent.slot], right);
    node.entries.insert(node.entries.begin() + static_cast<std::ptrdiff_t>(parent.slot),
                        std::move(separator));
}

// The root keeps its page: its entries move to a new child, which then splits under it.
void IndexTree::splitRoot(bool appended) {
    bool leaf = load(root_).leaf;
    std::uint32_t child = newPage(leaf);
    IndexNode& root = change(root_);
    IndexNode& moved = nodes_.at(child);
    moved.entries = std::move(root.entries);
    moved.tail = root.tail;
    root = IndexNode{};
    root.leaf = false;
    root.tail = child;
    attach({root_, 0}, child, split(child, appended));
}

bool IndexTree::remove(std::span<const std::uint8_t> key, std::uint32_t rowId) {
    LeafPlace place = placeOf(key, rowId);
    if (!place.found)
        return false;
    std::vector<IndexEntry>& entries = change(place.page).entries;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(place.slot));
    rebalance(place.page, place.path);
    refreshSeparators(place.entry);
    return true;
}

bool IndexTree::removeRow(std::uint32_t rowId) {
    std::vector<Step> path;
    std::uint32_t page = descend({}, path);
    for (std::size_t pages = 0; page != 0 && pages <= pages_.pageCount(); ++pages) {
        const IndexNode& node = load(page);
        for (const IndexEntry& entry : node.entries) {
            if (entryRowId(entry, true) != rowId)
                continue;
            IndexEntry key(entry.begin(), entry.end() - rowPointerSize);
            return remove(key, rowId);
        }
        page = node.next;
    }
    return false;
}

bool IndexTree::holdsKey(std::span<const std::uint8_t> key, std::optional<std::uint32_t> except) {
    IndexEntry target(key.begin(), key.end());
    target.resize(key.size() + rowPointerSize, 0);
    std::vector<Step> path;
    std::uint32_t page = descend(target, path);
    for (std::size_t pages = 0; page != 0 && pages <= pages_.pageCount(); ++pages) {
        IndexNode& node = load(page);
        for (auto at = lowerBound(node.entries, target, true); at != node.entries.end(); ++at) {
            if (at->size() != target.size() || !std::equal(key.begin(), key.end(), at->begin()))
                return false;
            if (!except || entryRowId(*at, true) != *except)
                return true;
        }
        page = node.next;
    }
    return false;
}

// Bottom up from a page that lost entries: an empty page leaves the tree, one under a
// quarter full merges with a neighbour when it can.
void IndexTree::rebalance(std::uint32_t page, std::vector<Step>& path) {
    while (!path.empty()) {
        const IndexNode& node = load(page);
        Step parent = path.back();
        if (node.entries.empty() && (node.leaf || node.tail == 0)) {
            detach(parent, page);
            freePage(page);
        } else if (rawBytes(node.entries) >= capacity_ / 4 || !mergeWithNeighbour(page, parent)) {
            return;
        }
        path.pop_back();
        page = parent.page;
    }
    collapseRoot();
}

void IndexTree::unlink(std::uint32_t page) {
    const IndexNode& node = load(page);
    std::uint32_t before = node.prev;
    std::uint32_t after = node.next;
    if (before != 0)
        change(before).next = after;
    if (after != 0)
        change(after).prev = before;
}

void IndexTree::detach(const Step& parent, std::uint32_t child) {
    unlink(child);
    IndexNode& node = change(parent.page);
    if (parent.slot < node.entries.size()) {
        node.entries.erase(node.entries.begin() + static_cast<std::ptrdiff_t>(parent.slot));
    } else if (!node.entries.empty()) {
        node.tail = entryChild(node.entries.back());
        node.entries.pop_back();
    } else {
        node.tail = 0;
    }
}

bool IndexTree::mergeFits(std::uint32_t left, std::uint32_t right) {
    const IndexNode& a = load(left);
    const IndexNode& b = load(right);
    std::size_t separator = a.leaf ? 0 : lastEntryBelow(left).size() + childPointerSize;
    return rawBytes(a.entries) + rawBytes(b.entries) + separator <= capacity_ * 3 / 4;
}

// The left page takes the entries of its right neighbour (and, between them, its own tail
// as an entry).
void IndexTree::merge(std::uint32_t left, std::uint32_t right) {
    if (!load(left).leaf && load(left).tail != 0) {
        IndexEntry separator = separatorFor(load(left).tail);
        change(left).entries.push_back(std::move(separator));
    }
    IndexNode& a = change(left);
    IndexNode& b = load(right);
    std::move(b.entries.begin(), b.entries.end(), std::back_inserter(a.entries));
    if (!a.leaf)
        a.tail = b.tail;
    a.next = b.next;
    if (b.next != 0)
        change(b.next).prev = left;
}

bool IndexTree::mergeWithNeighbour(std::uint32_t page, const Step& parent) {
    const IndexNode& above = load(parent.page);
    std::size_t count = above.entries.size();
    std::size_t slot = parent.slot;
    if (slot < count) {
        std::uint32_t right = childAt(above, slot + 1);
        if (right != 0 && mergeFits(page, right)) {
            merge(page, right);
            IndexNode& node = change(parent.page);
            if (slot + 1 < count)
                setChild(node.entries[slot + 1], page);
            else
                node.tail = page;
            node.entries.erase(node.entries.begin() + static_cast<std::ptrdiff_t>(slot));
            freePage(right);
            return true;
        }
    }
    if (slot == 0 || count == 0)
        return false;
    std::uint32_t left = entryChild(above.entries[slot - 1]);
    if (!mergeFits(left, page))
        return false;
    merge(left, page);
    IndexNode& node = change(parent.page);
    if (slot < count)
        setChild(node.entries[slot], left);
    else
        node.tail = left;
    node.entries.erase(node.entries.begin() + static_cast<std::ptrdiff_t>(slot - 1));
    freePage(page);
    return true;
}

void IndexTree::collapseRoot() {
    for (int depth = 0; depth < maxDepth; ++depth) {
        const IndexNode& root = load(root_);
        if (root.leaf || !root.entries.empty())
            return;
        std::uint32_t only = root.tail;
        if (only == 0) {
            change(root_) = IndexNode{};
            return;
        }
        IndexNode moved = load(only);
        IndexNode& node = change(root_);
        node.leaf = moved.leaf;
        node.entries = std::move(moved.entries);
        node.tail = moved.tail;
        node.prev = 0;
        node.next = 0;
        freePage(only);
    }
}

// The parents on the way to `target` name their children by the children's last entries.
void IndexTree::refreshSeparators(std::span<const std::uint8_t> target) {
    std::vector<Step> path;
    descend(target, path);
    for (const Step& step : path) {
        const IndexNode& node = load(step.page);
        if (step.slot >= node.entries.size())
            continue;
        IndexEntry wanted = separatorFor(entryChild(node.entries[step.slot]));
        if (!wanted.empty() && wanted != nodes_.at(step.page).entries[step.slot])
            change(step.page).entries[step.slot] = std::move(wanted);
    }
}

} // namespace mdbengine::file
