#include "note/NoteDocument.h"

#include "groups/Sticky.h"
#include "note/StoredBounds.h"
#include "storage/TextCodec.h"

namespace Brisvane {

bool NoteDocument::flag(const char* name) const {
    return booleanAt(json, {"window", name}, false);
}

bool NoteDocument::fix(const char* name) const {
    return booleanAt(json, {"window", "fix", name}, false);
}

int NoteDocument::position(const char* name) const {
    return drawnPosition(name, integerAt(json, {"window", "position", name}, 0));
}

bool NoteDocument::scribbleMode() const {
    return stringAt(json, {"mode"}, "text") == "scribble";
}

std::wstring NoteDocument::groupGuid() const {
    return utf8ToWide(stringAt(json, {"group", "guid"}, ""));
}

void NoteDocument::setGroupGuid(const std::wstring& guid) {
    valueAt(json, {"group", "guid"}) = wideToUtf8(guid);
}

float NoteDocument::opacity() const {
    return numberAt(json, {"window", "opacity"}, 1.0f);
}

void NoteDocument::markChanged(std::uint32_t flags) {
    if (flags & SaveText) {
        textChanged = true;
    }
}

} // namespace Brisvane
