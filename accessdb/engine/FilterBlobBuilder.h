#pragma once

#include "accessdb/engine/FilterExpression.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace accessdb {

// Builds an expression blob from nodes made bottom-up; the node given to build() becomes
// the root at node offset 0.
class FilterBlobBuilder {
public:
    using NodeId = std::size_t;

    NodeId field(const std::string& name);
    NodeId constant(std::uint16_t type, std::span<const Byte> bytes);
    // A zero-terminated text constant.
    NodeId text(const std::string& value);
    NodeId unary(std::uint32_t op, NodeId operand);
    NodeId binary(std::uint32_t op, NodeId left, NodeId right);
    NodeId compare(std::uint32_t op, bool caseInsensitive, std::uint16_t partialLength, NodeId left,
                   NodeId right);
    NodeId truth(bool value);

    std::vector<Byte> build(NodeId root) const;

private:
    struct Node {
        std::uint32_t nodeClass;
        std::uint32_t op;
        std::vector<std::uint16_t> words; // plain operand words
        std::vector<NodeId> children;     // node operands, after the plain words
    };
    NodeId add(Node node);
    std::uint16_t literal(std::span<const Byte> bytes);

    std::vector<Node> nodes_;
    std::vector<Byte> literals_;
};

} // namespace accessdb
