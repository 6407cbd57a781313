#pragma once

#include <cstdint>
#include <span>

namespace xls {

// An option the model names and the bit that stands for it in a record's option word.
struct NamedBit {
    uint16_t option;
    uint16_t bit;
};

// A record's option word: the bits of the named options that are set, and the bits the
// model keeps as they were read.
inline uint16_t optionWord(uint16_t options, uint16_t otherBits, std::span<const NamedBit> named) {
    uint16_t word = otherBits;
    for (const NamedBit& n : named)
        if (options & n.option)
            word = static_cast<uint16_t>(word | n.bit);
    return word;
}

// The model's options from a record's option word (options not named there stay as they
// are), and the word's other bits into otherBits.
inline uint16_t optionsOfWord(uint16_t word, uint16_t options, uint16_t& otherBits,
                              std::span<const NamedBit> named) {
    otherBits = word;
    for (const NamedBit& n : named) {
        options = static_cast<uint16_t>((word & n.bit) ? options | n.option : options & ~n.option);
        otherBits = static_cast<uint16_t>(otherBits & ~n.bit);
    }
    return options;
}

} // namespace xls
