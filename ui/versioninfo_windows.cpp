#include "ui/versioninfo.h"

#include <windows.h>

#include <QString>
#include <vector>

namespace marlovin {

ProgramVersion ReadProgramVersion() {
    ProgramVersion read;
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return read;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return read;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoW(path, 0, size, block.data()))
        return read;

    void* value = nullptr;
    UINT valueSize = 0;
    if (::VerQueryValueW(block.data(), L"\\", &value, &valueSize) &&
        valueSize >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        read.major = HIWORD(fixed->dwFileVersionMS);
        read.minor = LOWORD(fixed->dwFileVersionMS);
        read.revision = LOWORD(fixed->dwFileVersionLS);
    }
    // The string table of the first translation the resource lists.
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &valueSize) ||
        valueSize < 2 * sizeof(WORD))
        return read;
    const auto* translation = static_cast<const WORD*>(value);
    const QString table = QStringLiteral("%1%2")
                              .arg(translation[0], 4, 16, QLatin1Char('0'))
                              .arg(translation[1], 4, 16, QLatin1Char('0'))
                              .toUpper();
    const QString key = QStringLiteral("\\StringFileInfo\\%1\\ProductName").arg(table);
    if (::VerQueryValueW(block.data(), reinterpret_cast<const wchar_t*>(key.utf16()), &value,
                         &valueSize) &&
        valueSize > 0)
        read.productName = QString::fromWCharArray(static_cast<const wchar_t*>(value));
    return read;
}

}  // namespace marlovin
