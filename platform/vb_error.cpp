#include "platform/vb_error.h"

#include <cerrno>

namespace platform {

QString VbDescription(int number) {
    switch (number) {
    case kInvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case kBadFileName: return QStringLiteral("Bad file name or number");
    case kFileNotFound: return QStringLiteral("File not found");
    case kDeviceIoError: return QStringLiteral("Device I/O error");
    case kFileAlreadyExists: return QStringLiteral("File already exists");
    case kDiskFull: return QStringLiteral("Disk full");
    case kPermissionDenied: return QStringLiteral("Permission denied");
    case kCantRenameWithDifferentDrive: return QStringLiteral("Can't rename with different drive");
    case kPathFileAccessError: return QStringLiteral("Path/File access error");
    case kPathNotFound: return QStringLiteral("Path not found");
    case kObjectVariableNotSet: return QStringLiteral("Object variable or With block variable not set");
    case kElementNotFound: return QStringLiteral("Element not found");
    case kKeyNotUnique: return QStringLiteral("Key is not unique in collection");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

VbError::VbError(int number) : VbError(number, QString()) {}

VbError::VbError(int number, QString detail)
    : number_(number), description_(VbDescription(number)), detail_(std::move(detail)) {
    what_ = QStringLiteral("error %1: %2").arg(number_).arg(description_).toUtf8();
    if (!detail_.isEmpty()) what_ += " (" + detail_.toUtf8() + ")";
}

const char* VbError::what() const noexcept { return what_.constData(); }

void Raise(int number, const QString& detail) { throw VbError(number, detail); }

VbError FromErrno(int err, Missing missing, const QString& detail) {
    switch (err) {
    case ENOENT: return VbError(missing == Missing::File ? kFileNotFound : kPathNotFound, detail);
    case ENOTDIR:
    case ELOOP: return VbError(kPathNotFound, detail);
    case EEXIST:
    case ENOTEMPTY:
    case EISDIR:
    case EBUSY:
    case ETXTBSY: return VbError(kPathFileAccessError, detail);
    case EACCES:
    case EPERM:
    case EROFS: return VbError(kPermissionDenied, detail);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return VbError(kDiskFull, detail);
    case EXDEV: return VbError(kCantRenameWithDifferentDrive, detail);
    case ENAMETOOLONG:
    case EILSEQ: return VbError(kBadFileName, detail);
    case EINVAL: return VbError(kInvalidProcedureCall, detail);
    case EIO:
    default: return VbError(kDeviceIoError, detail);
    }
}

}  // namespace platform
