#pragma once

#include "core/ListState.h"

#include <array>

namespace quillan {

// The eleven field roles, in the order of their lines in the field dialog's exchange memo
// (role i travels in line 4 + i) and with the names of the dialog's combo and its label.
struct FieldRole {
    const char* combo;
    const char* label;
    const char* caption;
    int ListState::*column;
};

inline constexpr int FirstRoleLine = 4;

const std::array<FieldRole, 11>& fieldRoles();

} // namespace quillan
