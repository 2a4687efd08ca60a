#include "note/LinkTarget.h"

#include "storage/Strings.h"

namespace Brisvane {

bool opensWithoutAsking(std::wstring_view target) {
    while (!target.empty() && (target.front() == L' ' || target.front() == L'\t')) {
        target.remove_prefix(1);
    }
    for (std::wstring_view scheme : {L"http://", L"https://", L"mailto:"}) {
        if (target.size() > scheme.size() && equalsIgnoreCase(target.substr(0, scheme.size()), scheme)) {
            return true;
        }
    }
    return false;
}

} // namespace Brisvane
