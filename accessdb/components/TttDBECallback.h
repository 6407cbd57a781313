#pragma once

#include <cstdint>
#include <functional>

namespace accessdb {

class TComponent;
class TVirtEng;

// One callback registration of a component. The engine delivers no callbacks, so the
// record only remembers what was asked; making and freeing it calls nothing.
struct TttDBECallback {
    TVirtEng* engine = nullptr;
    TComponent* owner = nullptr;
    void* handle = nullptr;
    std::uint32_t callbackType = 0;
    std::function<int(void*)> procedure;
};

} // namespace accessdb
