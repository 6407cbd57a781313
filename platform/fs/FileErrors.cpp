#include "platform/fs/FileErrors.h"

#include <cerrno>
#include <cstring>

namespace platform {

std::string describeFileError(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return "the disk is full";
    case EDQUOT:
        return "your disk quota is used up";
    case EFBIG:
        return "the file would be larger than the system lets this program write (a file-size "
               "limit)";
    case EROFS:
        return "the disk is read-only";
    case ENAMETOOLONG:
        return "the file name is too long";
    case EACCES:
    case EPERM:
        return "permission was refused";
    case EIO:
        return "the disk reported an input/output error";
    default:
        return std::strerror(errorNumber);
    }
}

} // namespace platform
