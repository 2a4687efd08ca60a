// note.json as any bytes: after completion every member must have its type and
// range, and the written form must read back to the same note.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Checks.h"
#include "storage/NoteFormat.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Json note = parseNoteText(utf8ToWide(bytes));
    completeNoteJsonWithTitle(note, "fuzz title");
    if (!Checks::noteSatisfiesTypes(note)) {
        __builtin_trap();
    }

    std::wstring written = noteToText(note);
    Json reread = parseJson(wideToUtf8(written));
    if (!reread.is_object()) {
        __builtin_trap(); // a completed note must always be writable and readable
    }
    completeNoteJsonWithTitle(reread, "other title");
    if (!Checks::noteSatisfiesTypes(reread)) {
        __builtin_trap();
    }
    // Completion is a fixed point: a written note comes back unchanged, unless
    // it held numbers that only a program (not a file) can hold.
    if (!Checks::holdsNonFinite(note) && reread != note) {
        __builtin_trap();
    }
    return 0;
}
