#include <gtest/gtest.h>

#include "app/ShowAll.h"
#include "storage/Hotkey.h"

using namespace Brisvane;

namespace {

TEST(Hotkey, ReadsAndWritesCombinations) {
    struct Case {
        const char* text;
        std::uint32_t modifiers;
        std::uint32_t key;
        const char* written;
    };
    const Case cases[] = {
        {"Ctrl+Shift+F9", ModCtrl | ModShift, 0x78, "Ctrl+Shift+F9"},
        {"Win+Alt+N", ModWin | ModAlt, 'N', "Win+Alt+N"},
        {"alt+win+n", ModWin | ModAlt, 'N', "Win+Alt+N"},
        {" Shift + Control + 7 ", ModCtrl | ModShift, '7', "Ctrl+Shift+7"},
        {"Ctrl+Alt+Shift+Win+F24", ModCtrl | ModAlt | ModShift | ModWin, 0x87, "Win+Ctrl+Alt+Shift+F24"},
        {"Ctrl+F1", ModCtrl, 0x70, "Ctrl+F1"},
        {"Alt+0", ModAlt, '0', "Alt+0"},
        {"Win+Z", ModWin, 'Z', "Win+Z"},
        {"Ctrl+Space", ModCtrl, 0x20, "Ctrl+Space"},
        {"Ctrl+Escape", ModCtrl, 0x1B, "Ctrl+Esc"},
        {"Ctrl+PgDn", ModCtrl, 0x22, "Ctrl+PageDown"},
        {"Shift+Num5", ModShift, 0x65, "Shift+Num5"},
        {"Ctrl+Pause", ModCtrl, 0x13, "Ctrl+Pause"},
    };
    for (const Case& c : cases) {
        std::optional<Hotkey> hotkey = parseHotkey(c.text);
        ASSERT_TRUE(hotkey) << c.text;
        EXPECT_EQ(hotkey->modifiers, c.modifiers) << c.text;
        EXPECT_EQ(hotkey->key, c.key) << c.text;
        EXPECT_EQ(formatHotkey(*hotkey), c.written) << c.text;
        EXPECT_EQ(parseHotkey(c.written), hotkey) << c.written;
    }
}

TEST(Hotkey, RefusesWhatIsNoCombination) {
    for (const char* text : {"", "N", "F9", "Ctrl", "Ctrl+", "+N", "Ctrl+Ctrl+N", "Ctrl+N+M", "Hyper+N",
                             "Ctrl+F0", "Ctrl+F25", "Ctrl+F09", "Ctrl+Mouse4", "Ctrl+é", "Ctrl++"}) {
        EXPECT_FALSE(parseHotkey(text)) << text;
    }
}

TEST(Hotkey, DefaultsNeitherTypeTextNorTakeWindowsKeys) {
    for (HotkeyCommand command : hotkeyCommands) {
        std::optional<Hotkey> hotkey = parseHotkey(defaultHotkeyText(command));
        ASSERT_TRUE(hotkey) << hotkeyMemberName(command);
        EXPECT_FALSE(typesCharacters(*hotkey)) << hotkeyMemberName(command);
        EXPECT_EQ(hotkey->modifiers & ModWin, 0u) << hotkeyMemberName(command);
    }
    EXPECT_TRUE(typesCharacters(*parseHotkey("Ctrl+Alt+E")));       // AltGr+E is the euro sign
    EXPECT_TRUE(typesCharacters(*parseHotkey("Ctrl+Alt+Shift+7"))); // and AltGr+Shift types too
    EXPECT_TRUE(typesCharacters(*parseHotkey("Shift+A")));
    EXPECT_FALSE(typesCharacters(*parseHotkey("Ctrl+Alt+F2")));
    EXPECT_FALSE(typesCharacters(*parseHotkey("Win+Ctrl+Alt+E")));
}

TEST(Hotkey, StoredTextsAreKeptAndUnknownOnesAreOff) {
    Json settings = parseJson(R"({"hotkey": {"newSticky": "Ctrl+Hyper+N", "showAll": "", "search": 5}})");
    EXPECT_EQ(hotkeyText(settings, HotkeyCommand::newSticky), "Ctrl+Hyper+N");
    EXPECT_FALSE(hotkeyFor(settings, HotkeyCommand::newSticky));
    EXPECT_FALSE(hotkeyFor(settings, HotkeyCommand::showAll));
    // Missing, or not a string: the default.
    EXPECT_EQ(hotkeyText(settings, HotkeyCommand::newFromClipboard),
              defaultHotkeyText(HotkeyCommand::newFromClipboard));
    EXPECT_EQ(hotkeyText(settings, HotkeyCommand::search), defaultHotkeyText(HotkeyCommand::search));
    EXPECT_TRUE(hotkeyFor(Json::object(), HotkeyCommand::search));

    EXPECT_FALSE(setHotkeyText(settings, HotkeyCommand::newSticky, "Ctrl+Hyper+N"));
    EXPECT_TRUE(setHotkeyText(settings, HotkeyCommand::showAll, "Ctrl+Shift+F7"));
    EXPECT_EQ(hotkeyFor(settings, HotkeyCommand::showAll), parseHotkey("Ctrl+Shift+F7"));
}

} // namespace

namespace {

TEST(ShowAll, EndsOnKeysAndClicksNotOnTheHotkeyOrMouseMoves) {
    constexpr std::uint32_t hotkeyKey = 0x7A; // F11
    struct Case {
        InputSample input;
        bool ends;
    };
    const Case cases[] = {
        {{RawInputKind::keyboard, true, 'A', 0}, true},
        {{RawInputKind::keyboard, false, 'A', 0}, false},      // a key let go
        {{RawInputKind::keyboard, true, hotkeyKey, 0}, false}, // the hotkey held down repeats
        {{RawInputKind::keyboard, true, 0xA2, 0}, false},      // left Ctrl
        {{RawInputKind::keyboard, true, 0x5B, 0}, false},      // left Windows key
        {{RawInputKind::mouse, false, 0, 0}, false},           // a move
        {{RawInputKind::mouse, false, 0, 0x0001}, true},       // left button down
        {{RawInputKind::mouse, false, 0, 0x0002}, false},      // left button up
        {{RawInputKind::mouse, false, 0, 0x0400}, true},       // the wheel
        {{RawInputKind::gamePadPoll, false, 0, 0}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(endsShowAll(c.input, hotkeyKey), c.ends)
            << static_cast<int>(c.input.kind) << " " << c.input.key << " " << c.input.buttonFlags;
    }
}

} // namespace
