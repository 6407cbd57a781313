#include "mdbengine/pages/Rc4.h"

#include <array>
#include <utility>

namespace mdbengine::file {

void applyRc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> bytes) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i)
        state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (std::uint8_t& byte : bytes) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        byte ^= state[static_cast<std::uint8_t>(state[a] + state[b])];
    }
}

} // namespace mdbengine::file
