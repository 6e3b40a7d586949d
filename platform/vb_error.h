#pragma once
// VB run-time errors: the only kind of failure the program sees from the personality.
#include <QString>
#include <exception>

namespace platform {

enum VbErrorNumber : int {
    kInvalidProcedureCall = 5,
    kBadFileName = 52,
    kFileNotFound = 53,
    kDeviceIoError = 57,
    kFileAlreadyExists = 58,
    kDiskFull = 61,
    kPermissionDenied = 70,
    kCantRenameWithDifferentDrive = 74,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kObjectVariableNotSet = 91,
    kElementNotFound = 35601,
    kKeyNotUnique = 35602,
};

// The standard description of a VB run-time error number ("Application-defined or object-defined error"
// for numbers this personality never raises).
QString VbDescription(int number);

class VbError : public std::exception {
public:
    explicit VbError(int number);
    VbError(int number, QString detail);
    int Number() const { return number_; }
    const QString& Description() const { return description_; }
    // The host path or operation the failure happened on; empty when there is none. Not part of the
    // VB description, so the program's boxes keep their texts; used only where a message must name
    // the file (start-up failures, the fatal handler).
    const QString& Detail() const { return detail_; }
    const char* what() const noexcept override;

private:
    int number_;
    QString description_;
    QString detail_;
    QByteArray what_;
};

[[noreturn]] void Raise(int number, const QString& detail = {});

// How a failing host call is read: whether the thing that was not found was the file itself or a
// folder on its way. Every host errno becomes a VB error here and nowhere else.
enum class Missing { File, Path };
VbError FromErrno(int err, Missing missing, const QString& detail = {});

}  // namespace platform
