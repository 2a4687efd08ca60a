// The first start's sticky: where it opens, what it says and in which group.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppFixture.h"
#include "app/FirstStart.h"
#include "note/DpiScale.h"
#include "note/ScreenPlacement_win.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

std::wstring bodyText(HWND body) {
    std::wstring text(GetWindowTextLengthW(body) + 1, L'\0');
    text.resize(GetWindowTextW(body, text.data(), static_cast<int>(text.size())));
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    return text;
}

} // namespace

TEST(FirstStart, WelcomeStickyInTheMiddleInTheUsersLanguage) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const Rect area{work.left, work.top, work.right, work.bottom};
    for (std::uint16_t languageId : {0x0409, 0x0411}) {
        AppFixture fixture;
        fixture.app->userLanguageId = languageId;
        fixture.start();
        ASSERT_EQ(fixture.app->stickyCount(), 1u);
        Note* note = fixture.firstNote();
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->groupGuid(), fixture.app->groupGuidAt(0))
            << "the first group, whose rule the text tells";
        EXPECT_EQ(fixture.app->settings["language"], languageId == 0x0411 ? "日本語" : "English");

        const int dpi = monitorDpi(area);
        const Rect expected = centredIn(area, scaleToDpi(welcomeWidth, dpi), scaleToDpi(welcomeHeight, dpi));
        RECT at = rectOf(note->window);
        EXPECT_EQ((Rect{at.left, at.top, at.right, at.bottom}), expected);
        EXPECT_LE(std::abs((at.left + at.right) - (work.left + work.right)), 1);
        EXPECT_LE(std::abs((at.top + at.bottom) - (work.top + work.bottom)), 1);

        const std::wstring text = bodyText(note->bodyEdit);
        std::wstring expectedText =
            welcomeText(fixture.app->languages, fixture.app->settings, fixture.temp.path() + L"notes\\");
        expectedText.erase(std::remove(expectedText.begin(), expectedText.end(), L'\r'), expectedText.end());
        EXPECT_EQ(text, expectedText);
        EXPECT_EQ(text.rfind(languageId == 0x0411 ? L"Tackaroon notes へようこそ" : L"Welcome to", 0), 0u);
        EXPECT_EQ(GetForegroundWindow(), note->window) << "in front, as a first sticky always opened";

        const std::wstring guid = note->guid;
        fixture.stop();
        EXPECT_EQ(fixture.readNoteJson(guid)["window"]["position"]["left"], expected.left);
        EXPECT_TRUE(fixture.noteFileExists(guid, L"text.rtf"));
    }
}
