#pragma once

// The names under which the desktop registers its DAO engines, by version (30, 35, 36), and
// the interface identifiers its object model answers to. Our engine is built in, so the
// identifiers only document which interfaces the driver stands for; the class keys are what
// the session looks for in the registry.

namespace accessdb {

// The class key under HKEY_CLASSES_ROOT; none for versions that do not exist.
constexpr const char* daoClassKey(int version) {
    switch (version) {
    case 36:
        return "\\DAO.DBEngine.36";
    case 35:
        return "\\DAO.DBEngine.35";
    case 30:
        return "\\DAO.DBEngine";
    default:
        return nullptr;
    }
}

constexpr const char* daoProgId(int version) {
    switch (version) {
    case 36:
        return "DAO.DBENGINE.36";
    case 35:
        return "DAO.DBENGINE.35";
    case 30:
        return "DAO.DBENGINE";
    default:
        return nullptr;
    }
}

// Interface identifiers: [version 3.0, versions 3.5/3.6][wide, narrow].
struct DaoInterfaceIds {
    const char* dbEngine[2][2];
    const char* indexFields[2][2];
    const char* field[2][2];
};

inline constexpr DaoInterfaceIds daoInterfaceIds{
    {{"{00025E17-0000-0000-C000-000000000046}", "{00025E16-0000-0000-C000-000000000046}"},
     {"{00000021-0000-0010-8000-00AA006D2EA4}", "{00000020-0000-0010-8000-00AA006D2EA4}"}},
    {{"{00025E5B-0000-0000-C000-000000000046}", "{00025E5A-0000-0000-C000-000000000046}"},
     {"{0000005D-0000-0010-8000-00AA006D2EA4}", "{0000005C-0000-0010-8000-00AA006D2EA4}"}},
    {{"{00025E4E-0000-0000-C000-000000000046}", "{00025E4D-0000-0000-C000-000000000046}"},
     {"{00000051-0000-0010-8000-00AA006D2EA4}", "{00000050-0000-0010-8000-00AA006D2EA4}"}},
};

} // namespace accessdb
