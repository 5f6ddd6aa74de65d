#pragma once

#include <QString>

// The reason a settings-file operation failed: a number in the classic run-time error
// numbering (53 file not found, 61 disk full, 70 permission denied, 75 path/file access
// error, 76 path not found, 5 invalid argument, 6 overflow) and a Turkish description
// that can be shown to the user as it stands.
struct IniError {
    int number = 0;
    QString description;

    bool isError() const { return number != 0; }
};

namespace IniErrorNumber {
constexpr int InvalidArgument = 5;
constexpr int Overflow = 6;
constexpr int FileNotFound = 53;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
} // namespace IniErrorNumber
