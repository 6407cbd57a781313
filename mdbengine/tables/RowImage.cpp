#include "mdbengine/tables/RowImage.h"

#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/TableDefinition.h"

#include <algorithm>

namespace mdbengine::file {

RowImage::RowImage(const RowView& row)
    : columnCount_(row.columnCount), fixed_(row.fixed.begin(), row.fixed.end()),
      padding_(row.padding.begin(), row.padding.end()),
      nullMask_(row.nullMask.begin(), row.nullMask.end()),
      hasVariableSection_(row.hasVariableSection) {
    std::size_t bytes = 0;
    for (const auto& value : row.variable)
        bytes += value.size();
    storage_.reserve(bytes);
    variable_.reserve(row.variable.size());
    for (const auto& value : row.variable)
        variable_.push_back(store(value));
}

RowImage::Piece RowImage::store(std::span<const std::uint8_t> bytes) {
    Piece piece{storage_.size(), bytes.size()};
    storage_.insert(storage_.end(), bytes.begin(), bytes.end());
    return piece;
}

RowImage RowImage::blank(const TableDefinition& table) {
    RowImage row;
    row.hasVariableSection_ = table.varColumnCount > 0;
    std::uint16_t count = table.maxColumns;
    std::size_t fixedSize = 0;
    std::size_t varCount = 0;
    for (const Column& column : table.columns) {
        count = std::max<std::uint16_t>(count, static_cast<std::uint16_t>(column.number + 1));
        if (column.isFixed() && column.type != ColumnType::Boolean) {
            std::size_t width = fixedWidth(column.type) ? fixedWidth(column.type) : column.length;
            fixedSize = std::max(fixedSize, column.fixedOffset + width);
        } else if (!column.isFixed()) {
            varCount = std::max<std::size_t>(varCount, column.varIndex + 1u);
        }
    }
    row.columnCount_ = count;
    row.nullMask_.assign(nullMaskSize(count), 0);
    row.fixed_.assign(fixedSize, 0);
    if (row.hasVariableSection_)
        row.variable_.resize(varCount);
    return row;
}

void RowImage::reachColumn(std::uint16_t number) {
    if (number < columnCount_)
        return;
    columnCount_ = static_cast<std::uint16_t>(number + 1);
    nullMask_.resize(nullMaskSize(columnCount_), 0);
}

void RowImage::setBit(std::uint16_t number, bool on) {
    reachColumn(number);
    auto mask = static_cast<std::uint8_t>(1u << (number % 8));
    if (on)
        nullMask_[number / 8] |= mask;
    else
        nullMask_[number / 8] &= static_cast<std::uint8_t>(~mask);
}

void RowImage::setBoolean(const Column& column, bool value) {
    setBit(column.number, value);
}

void RowImage::setValue(const Column& column, std::optional<std::span<const std::uint8_t>> bytes) {
    setBit(column.number, bytes.has_value());
    if (column.isFixed()) {
        std::size_t width = fixedWidth(column.type) ? fixedWidth(column.type) : column.length;
        if (fixed_.size() < column.fixedOffset + width)
            fixed_.resize(column.fixedOffset + width, 0);
        auto place = fixed_.begin() + column.fixedOffset;
        if (bytes)
            std::copy_n(bytes->begin(), std::min(width, bytes->size()), place);
        else
            std::fill_n(place, width, 0);
        return;
    }
    if (variable_.size() <= column.varIndex)
        variable_.resize(column.varIndex + 1u);
    variable_[column.varIndex] = bytes ? store(*bytes) : Piece{};
}

std::vector<std::uint8_t> RowImage::pack(const JetFormat& format) const {
    RowView view;
    view.columnCount = columnCount_;
    view.fixed = fixed_;
    view.padding = padding_;
    view.nullMask = nullMask_;
    view.hasVariableSection = hasVariableSection_;
    view.variable.reserve(variable_.size());
    for (const Piece& piece : variable_)
        view.variable.push_back(std::span(storage_).subspan(piece.offset, piece.length));
    return packRow(view, format);
}

} // namespace mdbengine::file
