#pragma once
// A sticky's note.json as the program holds it: the document, typed reads of
// the members the sticky consults most, and the marks of what is not yet
// written.
#include <cstdint>
#include <optional>
#include <string>

#include "storage/Json.h"

namespace Brisvane {

class NoteDocument {
public:
    Json json = Json::object();
    // note.json as last read or written: what a version from elsewhere is
    // compared with to tell which parts it changed.
    Json seenJson;

    // "window".<name>, "window"."fix".<name>: false unless stored true.
    bool flag(const char* name) const;
    bool fix(const char* name) const;
    // "window"."position".<name> as a window can take it.
    int position(const char* name) const;
    // "mode" is "scribble": the drawing takes the input.
    bool scribbleMode() const;
    std::wstring groupGuid() const;
    void setGroupGuid(const std::wstring& guid);
    // "window"."opacity", 1 when missing.
    float opacity() const;

    // A change to save, by the save flags of a sticky.
    void markChanged(std::uint32_t flags);

    // The user changed the text since it was loaded: a body that could not be
    // read is not written until then.
    bool textChanged = false;
    // Every stored figure was read: otherwise note.json is kept before it is
    // first written without the faulty ones.
    bool figuresReadWhole = true;
    // What a failed save could not write: the body's RTF bytes, and whether the
    // document holds changes not yet written. Kept until a write succeeds, so a
    // retry after the windows are gone (Alt+F4) still has the latest text.
    std::optional<std::string> unsavedRtf;
    bool jsonUnsaved = false;
};

} // namespace Brisvane
