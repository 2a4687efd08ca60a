#include <gtest/gtest.h>

#include "storage/DateFormat.h"

using namespace Brisvane;

namespace {

// Wednesday 3 July 2024, 9:05:07.
constexpr LocalTime july3 = {2024, 7, 3, 3, 9, 5, 7};

} // namespace

TEST(FormatDate, TitleTemplatesOfBothLanguages) {
    EXPECT_EQ(formatDate(L"$M/$D/$YYYY($www) $h:$mm:$ss", july3), L"7/3/2024(Wed) 9:05:07");
    EXPECT_EQ(formatDate(L"$YYYY/$M/$D($WWW) $h:$mm:$ss", july3), L"2024/7/3(水) 9:05:07");
}

TEST(FormatDate, TrashStampAtMidnightOfNewYear) {
    const LocalTime newYear = {2025, 1, 1, 3, 0, 0, 0};
    EXPECT_EQ(formatDate(L"$YYYY,$M,$D,$h,$m,$s", newYear), L"2025,1,1,0,0,0");
    EXPECT_EQ(formatDate(L"$hh:$mm:$ss $MM/$DD", newYear), L"00:00:00 01/01");
}

TEST(FormatDate, NumbersWithAndWithoutLeadingZero) {
    const LocalTime late = {2005, 12, 31, 6, 23, 59, 58};
    EXPECT_EQ(formatDate(L"$hh $h $mm $m $ss $s", july3), L"09 9 05 5 07 7");
    EXPECT_EQ(formatDate(L"$hh $h $mm $m $ss $s", late), L"23 23 59 59 58 58");
    EXPECT_EQ(formatDate(L"$MM $M $DD $D", july3), L"07 7 03 3");
    EXPECT_EQ(formatDate(L"$MM $M $DD $D", late), L"12 12 31 31");
    EXPECT_EQ(formatDate(L"$YYYY $YY", late), L"2005 5"); // no leading zero for the short year
    EXPECT_EQ(formatDate(L"$YYYY $YY", july3), L"2024 24");
    EXPECT_EQ(formatDate(L"$YY", LocalTime{2000, 1, 1, 6, 0, 0, 0}), L"0");
}

TEST(FormatDate, MinutesAndMonthsAreDifferentTokens) {
    EXPECT_EQ(formatDate(L"$mm|$MM|$m|$M", july3), L"05|07|5|7");
}

TEST(FormatDate, MonthNames) {
    LocalTime t = july3;
    t.month = 1;
    EXPECT_EQ(formatDate(L"$MMMM $MMM", t), L"January Jan");
    t.month = 5;
    EXPECT_EQ(formatDate(L"$MMMM $MMM", t), L"May May");
    t.month = 9;
    EXPECT_EQ(formatDate(L"$MMMM $MMM", t), L"September Sep");
    t.month = 12;
    EXPECT_EQ(formatDate(L"$MMMM $MMM", t), L"December Dec");
}

TEST(FormatDate, WeekdayNamesFromSunday) {
    const wchar_t* expected[7] = {L"日曜日 日 Sunday Sun S",   L"月曜日 月 Monday Mon M",
                                  L"火曜日 火 Tuesday Tue T",  L"水曜日 水 Wednesday Wed W",
                                  L"木曜日 木 Thursday Thu T", L"金曜日 金 Friday Fri F",
                                  L"土曜日 土 Saturday Sat S"};
    for (int day = 0; day < 7; ++day) {
        LocalTime t = july3;
        t.weekday = day;
        EXPECT_EQ(formatDate(L"$WWWW $WWW $wwww $www $ww", t), expected[day]) << day;
    }
}

TEST(FormatDate, LongestTokenWins) {
    EXPECT_EQ(formatDate(L"$hhh", july3), L"09h");
    EXPECT_EQ(formatDate(L"$YYY", july3), L"24Y");
    EXPECT_EQ(formatDate(L"$YYYYY", july3), L"2024Y");
    EXPECT_EQ(formatDate(L"$MMMMM", july3), L"JulyM");
    EXPECT_EQ(formatDate(L"$DDD", july3), L"03D");
    EXPECT_EQ(formatDate(L"$sss", july3), L"07s");
    EXPECT_EQ(formatDate(L"$wwwww", july3), L"Wednesdayw");
    EXPECT_EQ(formatDate(L"$WWWWW", july3), L"水曜日W");
    // Tokens follow each other without separators.
    EXPECT_EQ(formatDate(L"$YYYY$MM$DD$hh$mm$ss", july3), L"20240703090507");
}

TEST(FormatDate, TokensAreCaseSensitiveAndIncompleteOnesStay) {
    EXPECT_EQ(formatDate(L"$H $d $S $y $Y $W $w $", july3), L"$H $d $S $y $Y $W $w $");
    EXPECT_EQ(formatDate(L"$$h", july3), L"$9");
    EXPECT_EQ(formatDate(L"$ h", july3), L"$ h");
}

TEST(FormatDate, BackslashProtectsTheDollar) {
    EXPECT_EQ(formatDate(L"\\$D", july3), L"\\$D");
    EXPECT_EQ(formatDate(L"\\$YYYY-$YYYY", july3), L"\\$YYYY-2024");
    EXPECT_EQ(formatDate(L"\\$$D", july3), L"\\$3");    // only the first dollar is protected
    EXPECT_EQ(formatDate(L"\\\\$D", july3), L"\\\\$D"); // the backslash next to the dollar protects it
    EXPECT_EQ(formatDate(L"$\\$h", july3), L"$\\$h");
    EXPECT_EQ(formatDate(L"\\$", july3), L"\\$");
    EXPECT_EQ(formatDate(L"\\D $D\\", july3), L"\\D 3\\");
}

TEST(FormatDate, TemplatesWithoutDollarAreCopied) {
    EXPECT_EQ(formatDate(L"", july3), L"");
    EXPECT_EQ(formatDate(L"Meeting notes", july3), L"Meeting notes");
    EXPECT_EQ(formatDate(L"hh:mm YYYY \\ 日付", july3), L"hh:mm YYYY \\ 日付");
    std::wstring withNoncharacters = L"\xFDD0\xFDEF\xFFFE";
    EXPECT_EQ(formatDate(withNoncharacters + L"\\$h", july3), withNoncharacters + L"\\$h");
}

TEST(FormatDate, OutOfRangeNamesAreEmpty) {
    const LocalTime odd = {2024, 13, 3, 7, 9, 5, 7};
    EXPECT_EQ(formatDate(L"[$MMMM][$MMM][$M][$WWW][$www]", odd), L"[][][13][][]");
}

TEST(FormatNow, UsesTheCurrentLocalTime) {
    const LocalTime before = currentLocalTime();
    EXPECT_GE(before.year, 2024);
    EXPECT_GE(before.month, 1);
    EXPECT_LE(before.month, 12);
    EXPECT_GE(before.day, 1);
    EXPECT_LE(before.day, 31);
    EXPECT_GE(before.weekday, 0);
    EXPECT_LE(before.weekday, 6);
    EXPECT_GE(before.hour, 0);
    EXPECT_LE(before.hour, 23);
    EXPECT_GE(before.minute, 0);
    EXPECT_LE(before.minute, 59);

    const wchar_t* format = L"$YYYY-$MM-$DD $hh:$mm:$ss $www";
    std::wstring now = formatNow(format);
    const LocalTime after = currentLocalTime();
    // The clock may tick between the reads; the result must match one of them.
    EXPECT_TRUE(now == formatDate(format, before) || now == formatDate(format, after)) << now;
}
