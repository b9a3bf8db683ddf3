// Where the system-information program is found.
//
// The About box asks two questions of the system's settings store, by root,
// key path and value name: the program itself, and the folder that holds
// it. Linux has no such store; the questions are answered from the
// system-information programs a Linux desktop may have on its PATH.
#pragma once

#include <QString>

namespace zol {

constexpr qint32 HKEY_LOCAL_MACHINE = qint32(0x80000002);

// The two questions.
inline const char kSysInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline const char kSysInfoValue[] = "PATH";
inline const char kSysInfoFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline const char kSysInfoFolderValue[] = "MSINFO";

// The program that the folder of the second answer must hold.
QString sysInfoProgramName();

// The answer to one question: true and the value, or false and the empty
// text when there is none. The program question is answered with the full
// path of the first of hardinfo2, kinfocenter and cpu-x found on the PATH;
// the folder question with the folder on the PATH holding
// sysInfoProgramName().
bool readSystemValue(qint32 root, const QString& keyPath, const QString& valueName,
                     QString* value);

} // namespace zol
