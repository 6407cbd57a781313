#include "accessdb/engine/FilterExpression.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineDates.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/TBaseTable.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace accessdb {
namespace {

constexpr Status kMalformed = 0x2743; // an invalid filter
constexpr int kMaxDepth = 256;

[[noreturn]] void malformed() {
    raiseEngineError(kMalformed);
}

std::string timeText(double fraction) {
    long long seconds = std::llround((fraction - std::floor(fraction)) * 86400.0) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

} // namespace

FilterExpression::Value FilterExpression::Value::ofTruth(bool t) {
    Value v;
    v.type = fldtype::BOOL;
    v.length = 1;
    v.data[0] = t ? 1 : 0;
    return v;
}

std::uint16_t FilterExpression::word(std::size_t at) const {
    if (at + 2 > blob_.size())
        malformed();
    return getU16(blob_.data(), at);
}

std::uint32_t FilterExpression::dword(std::size_t at) const {
    if (at + 4 > blob_.size())
        malformed();
    return getU32(blob_.data(), at);
}

std::size_t FilterExpression::nodeAt(std::size_t offset) const {
    return std::size_t{word(6)} + offset;
}

std::size_t FilterExpression::literalAt(std::size_t offset) const {
    std::size_t at = std::size_t{word(8)} + offset;
    if (at >= blob_.size())
        malformed();
    return at;
}

std::string FilterExpression::literalText(std::size_t offset) const {
    std::size_t at = literalAt(offset);
    const char* start = reinterpret_cast<const char*>(blob_.data() + at);
    return std::string(start, ::strnlen(start, blob_.size() - at));
}

bool FilterExpression::evaluate() {
    try {
        if (blob_.size() < filterexpr::HeaderSize)
            return false;
        Value root;
        return node(0, root, 0) && root.truth();
    } catch (const ETorvaneEngineError&) {
        return false;
    }
}

bool FilterExpression::node(std::size_t offset, Value& out, int depth) {
    if (depth > kMaxDepth)
        malformed();
    std::size_t at = nodeAt(offset);
    std::uint32_t nodeClass = dword(at);
    std::uint32_t op = dword(at + 4);
    std::size_t operands = at + 8;
    switch (nodeClass) {
    case filterexpr::Unary: {
        Value operand;
        if (!node(word(operands), operand, depth + 1)) {
            out = Value::ofTruth(false);
            return true;
        }
        bool blank = isAllZero(operand.data.data(), std::min<std::size_t>(operand.length, 256));
        if (op == filterexpr::IsBlank)
            out = Value::ofTruth(blank);
        else if (op == filterexpr::NotBlank)
            out = Value::ofTruth(!blank);
        else if (op == filterexpr::Not)
            out = Value::ofTruth(!operand.truth());
        else
            out = Value::ofTruth(false);
        return true;
    }
    case filterexpr::Binary: {
        std::size_t left = word(operands);
        std::size_t right = word(operands + 2);
        if (op == filterexpr::And || op == filterexpr::Or) {
            Value l;
            bool leftTrue = node(left, l, depth + 1) && l.truth();
            if (op == filterexpr::And && !leftTrue) {
                out = Value::ofTruth(false);
                return true;
            }
            if (op == filterexpr::Or && leftTrue) {
                out = Value::ofTruth(true);
                return true;
            }
            Value r;
            out = Value::ofTruth(node(right, r, depth + 1) && r.truth());
            return true;
        }
        return comparison(op, left, right, false, 0, out, depth);
    }
    case filterexpr::Compare:
        return comparison(op, word(operands + 4), word(operands + 6), word(operands) != 0,
                          word(operands + 2), out, depth);
    case filterexpr::Field:
        return field(word(operands + 2), out);
    case filterexpr::Constant: {
        out = Value{};
        out.type = word(operands);
        out.length = word(operands + 2);
        if (out.length > out.data.size())
            malformed();
        std::size_t from = literalAt(word(operands + 4));
        if (from + out.length > blob_.size())
            malformed();
        std::memcpy(out.data.data(), blob_.data() + from, out.length);
        return true;
    }
    case filterexpr::BoolResult:
        out = Value::ofTruth(word(operands) != 0);
        return true;
    default:
        out = Value::ofTruth(false);
        return false;
    }
}

bool FilterExpression::comparison(std::uint32_t op, std::size_t left, std::size_t right,
                                  bool caseInsensitive, std::size_t length, Value& out, int depth) {
    Value l;
    Value r;
    if (!node(left, l, depth + 1) || !node(right, r, depth + 1)) {
        out = Value::ofTruth(false);
        return true;
    }
    int rc = compareValues(l, r, length, caseInsensitive);
    bool t = false;
    switch (op) {
    case filterexpr::Eq:
        t = rc == 0;
        break;
    case filterexpr::Ne:
        t = rc != 0;
        break;
    case filterexpr::Gt:
        t = rc > 0;
        break;
    case filterexpr::Lt:
        t = rc < 0;
        break;
    case filterexpr::Ge:
        t = rc >= 0;
        break;
    case filterexpr::Le:
        t = rc <= 0;
        break;
    default:
        break;
    }
    out = Value::ofTruth(t);
    return true;
}

bool FilterExpression::field(std::size_t nameOffset, Value& out) {
    out = Value{};
    std::string name = literalText(nameOffset);
    if (name.empty())
        return false;
    TTorvaneFieldCache& cache = cursor_.fieldCache();
    int number = cache.indexOfName(name);
    if (number == 0) {
        // An unknown name stands for itself as a quoted text.
        std::string text = leftChars(removeChar(name, '"'), 255);
        out.type = fldtype::VARBYTES;
        out.length = static_cast<std::uint16_t>(text.size());
        std::memcpy(out.data.data(), text.data(), text.size());
        return true;
    }
    TFieldCacheItem& item = cache.items(number);
    if (item.localSize() > out.data.size() || item.desc().length > out.data.size() || !record_)
        return false;
    out.type = item.desc().type;
    out.length = item.desc().length;
    item.setRecordBuffer(record_);
    bool blank = false;
    try {
        cursor_.getFieldValue(item, record_, blank, out.data.data());
    } catch (const ETorvaneEngineError&) {
        return false;
    }
    return true;
}

std::string FilterExpression::valueText(const Value& v) {
    const Byte* p = v.data.data();
    char text[320];
    std::string out;
    switch (v.type) {
    case fldtype::ZSTRING:
        out = std::string(reinterpret_cast<const char*>(p),
                          ::strnlen(reinterpret_cast<const char*>(p), v.length));
        break;
    case fldtype::DATE:
        out = dateText(static_cast<long long>(std::floor(load<double>(p))));
        break;
    case fldtype::BOOL:
        out = getU16(p, 0) != 0 ? "1" : "0";
        break;
    case fldtype::INT16:
        std::snprintf(text, sizeof text, "%5.5d", static_cast<int>(getU16(p, 0)));
        out = text;
        break;
    case fldtype::INT32:
        std::snprintf(text, sizeof text, "%10.10d", static_cast<int>(getI32(p, 0)));
        out = text;
        break;
    case fldtype::FLOAT:
        std::snprintf(text, sizeof text, "%f", load<double>(p));
        out = text;
        break;
    case fldtype::BYTES:
    case fldtype::VARBYTES:
        out = std::string(reinterpret_cast<const char*>(p), v.length);
        if (v.type == fldtype::VARBYTES)
            out = truncateAtChar(out, '\0');
        break;
    case fldtype::TIME:
        out = timeText(load<double>(p));
        break;
    default:
        break;
    }
    return leftChars(out, 255);
}

int FilterExpression::compareValues(const Value& left, const Value& right, std::size_t length,
                                    bool caseInsensitive) {
    std::size_t n = length ? length : left.length;
    n = std::min<std::size_t>(n, left.data.size());
    if (left.type == right.type)
        return compareFieldValues(left.type, right.data.data(), left.data.data(), caseInsensitive,
                                  n);
    std::string a = valueText(left);
    std::string b = valueText(right);
    int r = caseInsensitive ? ::strcasecmp(a.c_str(), b.c_str()) : a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace accessdb
