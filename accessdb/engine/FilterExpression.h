#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace accessdb {

class TBaseTable;

// Node classes and operators of the engine's filter expression blobs.
namespace filterexpr {
constexpr std::uint32_t Unary = 1;
constexpr std::uint32_t Binary = 2;
constexpr std::uint32_t Compare = 3;
constexpr std::uint32_t Field = 4;
constexpr std::uint32_t Constant = 5;
constexpr std::uint32_t BoolResult = 7;

constexpr std::uint32_t IsBlank = 1;
constexpr std::uint32_t NotBlank = 2;
constexpr std::uint32_t Eq = 3;
constexpr std::uint32_t Ne = 4;
constexpr std::uint32_t Gt = 5;
constexpr std::uint32_t Lt = 6;
constexpr std::uint32_t Ge = 7;
constexpr std::uint32_t Le = 8;
constexpr std::uint32_t Not = 9;
constexpr std::uint32_t And = 10;
constexpr std::uint32_t Or = 11;

// Header: version, total size, node count, start of the nodes, start of the literals.
constexpr std::size_t HeaderSize = 10;
} // namespace filterexpr

// Evaluates an expression blob against one record of a cursor. Every read is checked
// against the blob: a malformed blob makes the record fail, never reads outside it.
class FilterExpression {
public:
    FilterExpression(std::span<const Byte> blob, TBaseTable& cursor, Byte* record)
        : blob_(blob), cursor_(cursor), record_(record) {}

    // The root's truth; false for a blob that cannot be evaluated.
    bool evaluate();

    // A node's outcome: a truth value, or data of a logical type.
    struct Value {
        std::uint16_t type = 0;
        std::uint16_t length = 0;
        std::array<Byte, 256> data{};
        bool truth() const { return data[0] != 0; }
        static Value ofTruth(bool t);
    };

    // The sign of left against right: same types by the cursor's field comparison, others
    // as texts.
    static int compareValues(const Value& left, const Value& right, std::size_t length,
                             bool caseInsensitive);
    static std::string valueText(const Value& value);

private:
    // Whether the node produced a value (a truth value counts).
    bool node(std::size_t offset, Value& out, int depth);
    bool comparison(std::uint32_t op, std::size_t left, std::size_t right, bool caseInsensitive,
                    std::size_t length, Value& out, int depth);
    bool field(std::size_t nameOffset, Value& out);
    std::uint16_t word(std::size_t at) const;
    std::uint32_t dword(std::size_t at) const;
    std::size_t nodeAt(std::size_t offset) const;
    std::size_t literalAt(std::size_t offset) const;
    std::string literalText(std::size_t offset) const;

    std::span<const Byte> blob_;
    TBaseTable& cursor_;
    Byte* record_;
};

} // namespace accessdb
