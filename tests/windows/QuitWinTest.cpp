// What a close writes for stickies with nothing unsaved: nothing, not even the
// program's own form of a file that holds the same document in another form.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "EditHelpers.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;

TEST(Quit, StickyWithNothingUnsavedIsNotWrittenAgain) {
    AppFixture fixture;
    const std::wstring still = L"0c5e8a42-7d1b-4c3e-9f20-1a2b3c4d5e6f";
    const std::wstring moved = L"1d6f9b53-8e2c-4d4f-a031-2b3c4d5e6f70";
    for (const std::wstring& guid : {still, moved}) {
        fixture.storeNote(guid, "{\"title\": \"Kept\"}", "{\\rtf1\\ansi Some words\\par}");
    }
    fixture.start();
    fixture.stop();
    // Both files now hold the whole document; the same document, compact and
    // without the mark, is what another version of the program might write.
    const std::wstring folder = fixture.temp.path() + L"notes\\";
    std::string compact[2];
    for (int i = 0; i < 2; ++i) {
        const std::wstring& guid = i == 0 ? still : moved;
        compact[i] = fixture.readNoteJson(guid).dump();
        writeBytes(folder + guid + L"\\note.json", compact[i]);
    }
    fixture.restart();
    select(fixture.note(moved)->bodyEdit, 3, 5);
    fixture.stop();

    EXPECT_EQ(readBytes(folder + still + L"\\note.json"), compact[0])
        << "nothing unsaved: the file stays as it was";
    Json written = fixture.readNoteJson(moved);
    EXPECT_EQ(written["text"]["selection"]["start"], 3) << "a moved caret is still saved";
    EXPECT_EQ(written["text"]["selection"]["end"], 5);
    EXPECT_NE(readBytes(folder + moved + L"\\note.json"), compact[1]);
}
