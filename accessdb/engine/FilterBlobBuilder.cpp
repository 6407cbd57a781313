#include "accessdb/engine/FilterBlobBuilder.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/FieldDesc.h"

#include <algorithm>

namespace accessdb {

FilterBlobBuilder::NodeId FilterBlobBuilder::add(Node node) {
    nodes_.push_back(std::move(node));
    return nodes_.size() - 1;
}

std::uint16_t FilterBlobBuilder::literal(std::span<const Byte> bytes) {
    std::uint16_t at = checked16(literals_.size());
    literals_.insert(literals_.end(), bytes.begin(), bytes.end());
    return at;
}

FilterBlobBuilder::NodeId FilterBlobBuilder::field(const std::string& name) {
    std::vector<Byte> bytes(name.begin(), name.end());
    bytes.push_back(0);
    return add({filterexpr::Field, 0, {0, literal(bytes)}, {}});
}

FilterBlobBuilder::NodeId FilterBlobBuilder::constant(std::uint16_t type,
                                                      std::span<const Byte> bytes) {
    return add({filterexpr::Constant, 0, {type, checked16(bytes.size()), literal(bytes)}, {}});
}

FilterBlobBuilder::NodeId FilterBlobBuilder::text(const std::string& value) {
    std::vector<Byte> bytes(value.begin(), value.end());
    bytes.push_back(0);
    return constant(fldtype::ZSTRING, bytes);
}

FilterBlobBuilder::NodeId FilterBlobBuilder::unary(std::uint32_t op, NodeId operand) {
    return add({filterexpr::Unary, op, {}, {operand}});
}

FilterBlobBuilder::NodeId FilterBlobBuilder::binary(std::uint32_t op, NodeId left, NodeId right) {
    return add({filterexpr::Binary, op, {}, {left, right}});
}

FilterBlobBuilder::NodeId FilterBlobBuilder::compare(std::uint32_t op, bool caseInsensitive,
                                                     std::uint16_t partialLength, NodeId left,
                                                     NodeId right) {
    return add({filterexpr::Compare,
                op,
                {static_cast<std::uint16_t>(caseInsensitive ? 1 : 0), partialLength},
                {left, right}});
}

FilterBlobBuilder::NodeId FilterBlobBuilder::truth(bool value) {
    return add({filterexpr::BoolResult, 0, {static_cast<std::uint16_t>(value ? 1 : 0)}, {}});
}

std::vector<Byte> FilterBlobBuilder::build(NodeId root) const {
    // The root goes first; the others keep their order.
    std::vector<NodeId> order{root};
    for (NodeId id = 0; id < nodes_.size(); ++id)
        if (id != root)
            order.push_back(id);
    std::vector<std::size_t> offsets(nodes_.size());
    std::size_t nodeBytes = 0;
    for (NodeId id : order) {
        offsets[id] = nodeBytes;
        const Node& n = nodes_[id];
        nodeBytes += 8 + 2 * (n.words.size() + n.children.size());
    }
    std::size_t nodeStart = filterexpr::HeaderSize;
    std::size_t literalStart = nodeStart + nodeBytes;
    std::vector<Byte> blob(literalStart + literals_.size());
    putU16(blob.data(), 0, 1);
    putU16(blob.data(), 2, checked16(blob.size()));
    putU16(blob.data(), 4, checked16(nodes_.size()));
    putU16(blob.data(), 6, checked16(nodeStart));
    putU16(blob.data(), 8, checked16(literalStart));
    for (NodeId id : order) {
        const Node& n = nodes_[id];
        std::size_t at = nodeStart + offsets[id];
        putU32(blob.data(), at, n.nodeClass);
        putU32(blob.data(), at + 4, n.op);
        at += 8;
        for (std::uint16_t w : n.words) {
            putU16(blob.data(), at, w);
            at += 2;
        }
        for (NodeId child : n.children) {
            putU16(blob.data(), at, checked16(offsets[child]));
            at += 2;
        }
    }
    std::copy(literals_.begin(), literals_.end(), blob.begin() + literalStart);
    return blob;
}

} // namespace accessdb
