#pragma once
// Where a Windows path's root ends, for the folder-creation walk and the
// long-path form. Portable: plain string work.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Brisvane {

// How many leading pieces of a path cut at "\" (splitAny) name its root, which
// no walk may try to create: a drive ("C:"), a share ("", "", server, share),
// a long-path or device root ("", "", "?", "C:"; "", "", "?", "UNC", server,
// share), or the empty piece before a leading separator.
std::size_t rootPieceCount(const std::vector<std::wstring>& pieces);

// The "\\?\" form of a path for the file primitives: a share becomes
// "\\?\UNC\server\share\...", a path that has the prefix already stays.
std::wstring longPathForm(std::wstring_view path);

} // namespace Brisvane
