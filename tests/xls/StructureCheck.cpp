#include "tests/xls/StructureCheck.h"

#include "platform/storage/CompoundFile.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>

namespace xls::test {

namespace {

struct Rec {
    uint16_t id;
    size_t position;
    std::string body;
};

uint16_t u16(const std::string& s, size_t at) {
    if (at + 2 > s.size())
        return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) |
                                 (static_cast<uint8_t>(s[at + 1]) << 8));
}

uint32_t u32(const std::string& s, size_t at) {
    return u16(s, at) | (static_cast<uint32_t>(u16(s, at + 2)) << 16);
}

std::string hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

// Records that a CONTINUE may follow.
const std::set<uint16_t> Continued = {0x003C, 0x00FC, 0x00EB, 0x00EC, 0x01B6, 0x0207,
                                      0x0017, 0x0018, 0x01AE, 0x0023, 0x005D, 0x1066};
const std::set<uint16_t> Biff8Only = {0x00FC, 0x00FF, 0x00FD, 0x01AE, 0x0161, 0x013D,
                                      0x0160, 0x01B8, 0x00E5, 0x00EB, 0x00EC, 0x01B6,
                                      0x01B2, 0x01BE, 0x01AF, 0x01BC};
const std::set<uint16_t> CellsWithXf = {0x0201, 0x0203, 0x0204, 0x0205, 0x027E,
                                        0x00FD, 0x0006, 0x0406, 0x00D6};

// The Office Drawing records of a buffer walked flat (containers entered), as type, instance
// and body; a record running past the buffer ends the walk.
struct MsoAtom {
    uint16_t type;
    uint16_t instance;
    std::string body;
};

std::vector<MsoAtom> msoAtoms(const std::string& data, std::vector<std::string>& problems) {
    std::vector<MsoAtom> atoms;
    for (size_t at = 0; at + 8 <= data.size();) {
        uint16_t head = u16(data, at);
        uint16_t type = u16(data, at + 2);
        uint32_t length = u32(data, at + 4);
        at += 8;
        if ((head & 0x0F) == 0x0F)
            continue; // a container: its children follow
        if (length > data.size() - at) {
            problems.push_back("drawing record " + hex(type) + " runs past its data");
            break;
        }
        // A picture store entry holds its blip.
        size_t body = type == 0xF007 ? std::min<size_t>(36, length) : length;
        atoms.push_back({type, static_cast<uint16_t>(head >> 4), data.substr(at, body)});
        at += body;
    }
    return atoms;
}

// Shape ids: unique in the workbook, each drawing's DG giving its shape count and last id,
// the group's DGG its clusters, shape count and drawing count.
void checkDrawings(const std::vector<Rec>& records, std::vector<std::string>& problems) {
    // Each substream has a drawing of its own, a chart inside a worksheet too; the worksheet's
    // drawing goes on after the chart's EOF.
    std::string group;
    std::vector<std::string> drawings;
    std::vector<size_t> open; // the drawings of the substreams being read
    for (size_t i = 0; i < records.size(); ++i) {
        const Rec& r = records[i];
        if (r.id == 0x00EB) {
            group += r.body;
            for (size_t j = i + 1; j < records.size() && records[j].id == 0x003C; ++j)
                group += records[j].body;
        }
        if (r.id == 0x0809) {
            open.push_back(drawings.size());
            drawings.emplace_back();
        }
        if (r.id == 0x000A && !open.empty())
            open.pop_back();
        if (r.id == 0x00EC && !open.empty())
            drawings[open.back()] += r.body;
    }
    std::set<uint32_t> ids;
    uint32_t shapes = 0, drawingCount = 0, maxId = 0;
    std::map<uint32_t, uint32_t> clusterOf; // cluster index -> drawing id
    for (const std::string& drawing : drawings) {
        if (drawing.empty())
            continue;
        ++drawingCount;
        uint32_t drawingId = 0, declaredShapes = 0, lastId = 0, seen = 0, highest = 0;
        for (const MsoAtom& atom : msoAtoms(drawing, problems)) {
            if (atom.type == 0xF008) {
                drawingId = atom.instance;
                declaredShapes = u32(atom.body, 0);
                lastId = u32(atom.body, 4);
            }
            if (atom.type == 0xF00A) {
                uint32_t id = u32(atom.body, 0);
                if (!ids.insert(id).second)
                    problems.push_back("shape id " + std::to_string(id) + " used twice");
                highest = std::max(highest, id);
                ++seen;
                clusterOf.emplace(id / 1024 - 1, drawingId);
            }
        }
        if (seen != declaredShapes || highest != lastId)
            problems.push_back("DG says " + std::to_string(declaredShapes) + " shapes up to " +
                               std::to_string(lastId) + ", the drawing has " +
                               std::to_string(seen) + " up to " + std::to_string(highest));
        shapes += seen;
        maxId = std::max(maxId, highest);
    }
    if (drawingCount == 0 && group.empty())
        return;
    for (const MsoAtom& atom : msoAtoms(group, problems)) {
        if (atom.type != 0xF006)
            continue;
        uint32_t spidMax = u32(atom.body, 0), clusters = u32(atom.body, 4);
        if (spidMax <= maxId || u32(atom.body, 8) != shapes || u32(atom.body, 12) != drawingCount)
            problems.push_back("DGG disagrees with the drawings");
        for (const auto& [cluster, drawingId] : clusterOf)
            if (cluster + 1 >= clusters || u32(atom.body, 16 + 8 * cluster) != drawingId)
                problems.push_back("shape cluster " + std::to_string(cluster) +
                                   " not the drawing's in the DGG");
        return;
    }
    problems.push_back("drawings without a DGG");
}

} // namespace

std::vector<std::string> checkWorkbookStructure(const std::string& fileBytes) {
    std::vector<std::string> problems;
    std::string stream = fileBytes;
    if (platform::CompoundFile::hasSignature(fileBytes)) {
        platform::CompoundFile file = platform::CompoundFile::open(fileBytes);
        const char* name = file.find("Workbook") ? "Workbook" : "Book";
        if (!file.find(name))
            return {"no workbook stream"};
        stream = file.readStream(name);
    }
    std::vector<Rec> records;
    std::map<size_t, size_t> byPosition;
    for (size_t at = 0; at + 4 <= stream.size();) {
        uint16_t id = u16(stream, at);
        size_t length = u16(stream, at + 2);
        if (at + 4 + length > stream.size()) {
            problems.push_back("record " + hex(id) + " runs past the end of the stream");
            break;
        }
        byPosition[at] = records.size();
        records.push_back({id, at, stream.substr(at + 4, length)});
        at += 4 + length;
    }
    if (records.empty() || (records[0].id & 0xFF) != 0x09)
        return {"the stream does not begin with a BOF"};
    int version = records[0].id == 0x0409 ? 4 : u16(records[0].body, 0) == 0x0600 ? 8 : 5;
    size_t maxBody = version == 8 ? 8224 : 2080;

    size_t xfs = 0, fonts = 0, bofs = 0, eofs = 0;
    std::set<unsigned> formats;
    std::vector<const Rec*> xfRecords, styles;
    for (size_t i = 0; i < records.size(); ++i) {
        const Rec& r = records[i];
        if (r.body.size() > maxBody)
            problems.push_back("record " + hex(r.id) + " of " + std::to_string(r.body.size()) +
                               " bytes at " + std::to_string(r.position));
        if (r.id == 0x003C && (i == 0 || !Continued.count(records[i - 1].id)))
            problems.push_back("CONTINUE behind " + hex(i ? records[i - 1].id : 0));
        if (version == 5 && Biff8Only.count(r.id))
            problems.push_back("BIFF8 record " + hex(r.id) + " in a BIFF5 file");
        if (r.id == 0x0009 || r.id == 0x0209 || r.id == 0x0409 || r.id == 0x0809)
            ++bofs;
        if (r.id == 0x000A)
            ++eofs;
        if (r.id == 0x00E0 || r.id == 0x0443) {
            ++xfs;
            xfRecords.push_back(&r);
        }
        if (r.id == 0x0031 || r.id == 0x0231)
            ++fonts;
        if (r.id == 0x041E)
            formats.insert(version == 4 ? static_cast<unsigned>(formats.size()) : u16(r.body, 0));
        if (r.id == 0x0293)
            styles.push_back(&r);
        if (r.id == 0x0085) {
            uint32_t offset = u32(r.body, 0);
            auto target = byPosition.find(offset);
            if (target == byPosition.end() || records[target->second].id != 0x0809)
                problems.push_back("BOUNDSHEET offset " + std::to_string(offset) +
                                   " does not point at a BOF");
        }
    }
    if (bofs != eofs)
        problems.push_back(std::to_string(bofs) + " BOF records against " + std::to_string(eofs) +
                           " EOF records");
    for (const Rec& r : records) {
        if (CellsWithXf.count(r.id) && u16(r.body, 4) >= xfs)
            problems.push_back("cell " + hex(r.id) + " at " + std::to_string(r.position) +
                               " uses XF " + std::to_string(u16(r.body, 4)) + " of " +
                               std::to_string(xfs));
        if (r.id == 0x00BD || r.id == 0x00BE) {
            size_t step = r.id == 0x00BD ? 6 : 2;
            for (size_t at = 4; at + 2 + step <= r.body.size(); at += step)
                if (u16(r.body, at) >= xfs)
                    problems.push_back("MULRK/MULBLANK XF beyond the XF count");
        }
    }
    for (const Rec* xf : xfRecords) {
        unsigned font = version == 4 ? static_cast<uint8_t>(xf->body[0]) : u16(xf->body, 0);
        unsigned format = version == 4 ? static_cast<uint8_t>(xf->body[1]) : u16(xf->body, 2);
        bool fontThere = font == 4 ? false : (font < 4 ? font < fonts : font - 1 < fonts);
        if (!fontThere)
            problems.push_back("XF font " + std::to_string(font) + " of " + std::to_string(fonts));
        bool builtIn = version != 4 && format < 50;
        if (!builtIn && !formats.count(format))
            problems.push_back("XF number format " + std::to_string(format) + " not defined");
    }
    for (const Rec* style : styles)
        if ((u16(style->body, 0) & 0x0FFF) >= xfs)
            problems.push_back("STYLE for XF " + std::to_string(u16(style->body, 0) & 0x0FFF));
    if (version == 8)
        checkDrawings(records, problems);
    return problems;
}

} // namespace xls::test
