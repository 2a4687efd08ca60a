#include "storage/PathRoot.h"

namespace Brisvane {

namespace {

bool isDrive(const std::wstring& piece) {
    return piece.size() == 2 && piece[1] == L':';
}

} // namespace

std::size_t rootPieceCount(const std::vector<std::wstring>& pieces) {
    const std::size_t n = pieces.size();
    if (n == 0) {
        return 0;
    }
    if (isDrive(pieces[0])) {
        return 1;
    }
    if (!pieces[0].empty()) {
        return 0; // a relative path
    }
    if (n < 2 || !pieces[1].empty()) {
        return 1; // "\folder": the current drive's root
    }
    // Two leading separators: "\\?\", "\\.\" or a share.
    if (n > 2 && (pieces[2] == L"?" || pieces[2] == L".")) {
        if (n > 3 && (pieces[3] == L"UNC" || pieces[3] == L"unc")) {
            return n < 6 ? n : 6;
        }
        return n < 4 ? n : 4;
    }
    return n < 4 ? n : 4;
}

std::wstring longPathForm(std::wstring_view path) {
    if (path.substr(0, 4) == L"\\\\?\\" || path.substr(0, 4) == L"\\\\.\\") {
        return std::wstring(path);
    }
    if (path.substr(0, 2) == L"\\\\") {
        return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    }
    return L"\\\\?\\" + std::wstring(path);
}

} // namespace Brisvane
