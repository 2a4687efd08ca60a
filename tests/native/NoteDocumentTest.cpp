// A sticky's document read as stored files hold it, faulty members included.
#include <gtest/gtest.h>

#include "groups/Sticky.h"
#include "note/NoteDocument.h"

using namespace Brisvane;

TEST(NoteDocument, ReadsStoredMembersAndFallsBackOnFaultyOnes) {
    const struct {
        const char* json;
        bool lock, fixSize, scribble;
        int left, width;
        float opacity;
    } cases[] = {
        {"{}", false, false, false, 0, 16, 1.0f},
        {R"({"window": {"lock": true, "fix": {"size": true}, "opacity": 0.5,
             "position": {"left": -1500, "width": 300}}, "mode": "scribble"})",
         true, true, true, -1500, 300, 0.5f},
        // Wrong types and values out of reach read as missing or bounded.
        {R"({"window": {"lock": "true", "fix": true, "opacity": "half",
             "position": {"left": 99999, "width": 5}}, "mode": "Scribble"})",
         false, false, false, 32767, 16, 1.0f},
        {R"({"window": [], "mode": 1})", false, false, false, 0, 16, 1.0f},
    };
    for (const auto& c : cases) {
        NoteDocument document;
        document.json = Json::parse(c.json);
        EXPECT_EQ(document.flag("lock"), c.lock) << c.json;
        EXPECT_EQ(document.fix("size"), c.fixSize) << c.json;
        EXPECT_EQ(document.scribbleMode(), c.scribble) << c.json;
        EXPECT_EQ(document.position("left"), c.left) << c.json;
        EXPECT_EQ(document.position("width"), c.width) << c.json;
        EXPECT_FLOAT_EQ(document.opacity(), c.opacity) << c.json;
    }
}

TEST(NoteDocument, KeepsTheGroupAndMarksTextChanges) {
    NoteDocument document;
    document.json = Json::parse(R"({"group": "not an object"})");
    EXPECT_EQ(document.groupGuid(), L"");
    document.setGroupGuid(L"{guid-ü}");
    EXPECT_EQ(document.groupGuid(), L"{guid-ü}") << "kept as UTF-8 and read back";

    document.markChanged(SaveJson | SaveFigures);
    EXPECT_FALSE(document.textChanged) << "only a text change unlocks an unreadable body";
    document.markChanged(SaveText);
    EXPECT_TRUE(document.textChanged);
}
