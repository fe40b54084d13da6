#include "screen/console_headless.h"
#include "screen/text_screen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace {

class TextScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headlessReset();
        consoleOpen();
        consoleSetMode(80, 50, true);
        textAttr = 7;
        gotoXY0(0, 0);
    }
};

std::uint16_t cellAt(int x, int y) { return cellBuffer[static_cast<std::size_t>(y * 80 + x)]; }

std::uint16_t cellOf(std::uint8_t attr, char ch) {
    return static_cast<std::uint16_t>(attr << 8 | static_cast<std::uint8_t>(ch));
}

std::string letters(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('A' + i % 26);
    return text;
}

// Every row y holds character 'a' + y % 26 in attribute y, so a moved row
// shows where it came from.
void fillRows() {
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
            cellBuffer[static_cast<std::size_t>(y * 80 + x)] =
                cellOf(static_cast<std::uint8_t>(y), static_cast<char>('a' + y % 26));
}

std::vector<std::uint16_t> rowCells(const std::vector<std::uint16_t>& cells, int y) {
    auto begin = cells.begin() + y * 80;
    return {begin, begin + 80};
}

TEST_F(TextScreenTest, WriteTextWrapsAfterTheLastColumn) {
    std::string text = letters(85);
    gotoXY(1, 3);
    writeText(text);
    for (int x = 0; x < 80; ++x) EXPECT_EQ(cellAt(x, 2), cellOf(7, text[x])) << x;
    for (int x = 0; x < 5; ++x) EXPECT_EQ(cellAt(x, 3), cellOf(7, text[80 + x])) << x;
    EXPECT_EQ(cellAt(5, 3), 0);
    EXPECT_EQ(cursorX, 5);
    EXPECT_EQ(cursorY, 3);
}

TEST_F(TextScreenTest, LongTextsAreWrittenWhole) {
    std::string text = letters(300);
    writeText(text);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(cellAt(i % 80, i / 80), cellOf(7, text[i])) << i;
    EXPECT_EQ(cellAt(60, 3), 0);
    EXPECT_EQ(cursorX, 60);
    EXPECT_EQ(cursorY, 3);
}

TEST_F(TextScreenTest, EmptyTextChangesNothing) {
    fillRows();
    std::vector<std::uint16_t> before = cellBuffer;
    gotoXY0(10, 20);
    writeText("");
    EXPECT_EQ(cellBuffer, before);
    EXPECT_EQ(cursorX, 10);
    EXPECT_EQ(cursorY, 20);
}

TEST_F(TextScreenTest, ControlBytesAreStoredAsTheyAre) {
    writeText("\x10\x11\x1E\x1F");
    EXPECT_EQ(cellAt(0, 0), cellOf(7, '\x10'));
    EXPECT_EQ(cellAt(3, 0), cellOf(7, '\x1F'));
    EXPECT_EQ(cursorX, 4);
}

TEST_F(TextScreenTest, WritesPastTheLastCellAreDropped) {
    fillRows();
    std::vector<std::uint16_t> before = cellBuffer;
    gotoXY0(75, 49);
    writeText(letters(300));
    for (int x = 0; x < 75; ++x) EXPECT_EQ(cellAt(x, 49), before[49 * 80 + x]);
    for (int x = 75; x < 80; ++x) EXPECT_EQ(cellAt(x, 49), cellOf(7, letters(5)[x - 75]));
    EXPECT_EQ(std::vector<std::uint16_t>(cellBuffer.begin(), cellBuffer.begin() + 49 * 80),
              std::vector<std::uint16_t>(before.begin(), before.begin() + 49 * 80));
    EXPECT_EQ(cellBuffer.size(), 4000u);
    EXPECT_EQ(cursorX, 0);
    EXPECT_EQ(cursorY, 50);

    clearEol();
    writeText("more");
    EXPECT_EQ(cellAt(79, 49), cellOf(7, 'E'));
}

TEST_F(TextScreenTest, ClearEolRightAfterAWrapClearsTheWholeNextRow) {
    fillRows();
    gotoXY(1, 3);
    writeText(letters(80));
    textAttr = 0x1C;
    clearEol();
    for (int x = 0; x < 80; ++x) EXPECT_EQ(cellAt(x, 3), 0x1C00) << x;
    EXPECT_EQ(cellAt(0, 4), cellOf(4, 'e'));
    EXPECT_EQ(cursorX, 0);
    EXPECT_EQ(cursorY, 3);
}

TEST_F(TextScreenTest, ClearEolClearsFromTheCursorOn) {
    fillRows();
    gotoXY0(70, 5);
    clearEol();
    EXPECT_EQ(cellAt(69, 5), cellOf(5, 'f'));
    for (int x = 70; x < 80; ++x) EXPECT_EQ(cellAt(x, 5), 0x0700) << x;
    EXPECT_EQ(cellAt(0, 6), cellOf(6, 'g'));
    EXPECT_EQ(cursorX, 70);
}

TEST_F(TextScreenTest, GotoXYCountsFromOneAndGotoXY0FromZero) {
    struct Case {
        std::uint8_t column, row, x, y;
    };
    for (Case c : {Case{1, 1, 0, 0}, Case{80, 50, 79, 49}, Case{40, 25, 39, 24}}) {
        gotoXY(c.column, c.row);
        std::uint8_t x = cursorX, y = cursorY;
        gotoXY0(255, 255);
        gotoXY0(c.x, c.y);
        EXPECT_EQ(x, cursorX);
        EXPECT_EQ(y, cursorY);
        EXPECT_EQ(cursorX, c.x);
        EXPECT_EQ(cursorY, c.y);
    }
}

TEST_F(TextScreenTest, WriteLineEndsAtTheStartOfTheNextRow) {
    gotoXY0(7, 2);
    writeLine("ab");
    EXPECT_EQ(cellAt(8, 2), cellOf(7, 'b'));
    EXPECT_EQ(cursorX, 0);
    EXPECT_EQ(cursorY, 3);
}

TEST_F(TextScreenTest, ClearScreenUsesTheAttributeAndHomesTheCursor) {
    fillRows();
    textAttr = 0x1C;
    gotoXY0(10, 10);
    clearScreen();
    EXPECT_EQ(cellBuffer, std::vector<std::uint16_t>(4000, 0x1C00));
    EXPECT_EQ(cursorX, 0);
    EXPECT_EQ(cursorY, 0);
}

TEST_F(TextScreenTest, ScrollUpMovesTheBlockUpAndKeepsItsLastRow) {
    fillRows();
    std::vector<std::uint16_t> before = cellBuffer;
    scrollUp(12, 36);
    for (int y = 0; y < 11; ++y) EXPECT_EQ(rowCells(cellBuffer, y), rowCells(before, y)) << y;
    for (int y = 11; y < 47; ++y) EXPECT_EQ(rowCells(cellBuffer, y), rowCells(before, y + 1)) << y;
    for (int y = 47; y < 50; ++y) EXPECT_EQ(rowCells(cellBuffer, y), rowCells(before, y)) << y;
}

TEST_F(TextScreenTest, ScrollUpStaysInsideTheBuffer) {
    fillRows();
    std::vector<std::uint16_t> before = cellBuffer;
    scrollUp(0, 255);
    for (int y = 0; y < 49; ++y) EXPECT_EQ(rowCells(cellBuffer, y), rowCells(before, y + 1)) << y;
    EXPECT_EQ(rowCells(cellBuffer, 49), rowCells(before, 49));
    EXPECT_EQ(cellBuffer.size(), 4000u);
}

// The box stands on rows 25 to 27 (24 to 26 from 0), n + 2 columns wide from
// column `left`; everything else is blank in the attribute in force before.
void expectMessageBox(const std::string& shownText, int left, std::uint8_t clearedAttr) {
    int n = static_cast<int>(shownText.size());
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 80; ++x) {
            bool inBox = y >= 24 && y <= 26 && x >= left && x <= left + n + 1;
            if (!inBox) {
                ASSERT_EQ(cellAt(x, y), clearedAttr << 8) << x << "," << y;
                continue;
            }
            int i = x - left;
            bool edge = i == 0 || i == n + 1;
            char expected =
                y == 25 ? (edge ? '\xB3' : shownText[i - 1])
                : edge  ? (y == 24 ? (i == 0 ? '\xDA' : '\xBF') : (i == 0 ? '\xC0' : '\xD9'))
                        : '\xC4';
            ASSERT_EQ(cellAt(x, y), cellOf(0x4F, expected)) << x << "," << y;
        }
    }
}

TEST_F(TextScreenTest, ShowMessageDrawsACentredBoxOnACleanScreen) {
    struct Case {
        std::string text;
        std::string shown;
        int left;
    };
    std::string longText = letters(100);
    for (const Case& c : {Case{"SID-Init Error", "SID-Init Error", 32}, Case{"", "", 39},
                          Case{longText, longText.substr(0, 78), 0}}) {
        SCOPED_TRACE(c.text);
        fillRows();
        textAttr = 0x1C;
        headless.keys = {13};
        unsigned updates = headless.updates;
        showMessage(c.text, false);
        expectMessageBox(c.shown, c.left, 0x1C);
        EXPECT_EQ(textAttr, 7);
        EXPECT_EQ(headless.updates, updates + 1);
        EXPECT_EQ(headless.shown, cellBuffer);
        EXPECT_EQ(headless.keys.size(), 1u);
    }
}

TEST_F(TextScreenTest, ShowMessageWaitsForOneKeyWhenAsked) {
    struct Case {
        std::deque<std::uint8_t> keys;
        std::deque<std::uint8_t> left;
    };
    for (const Case& c : {Case{{13, 32}, {32}}, Case{{0, 72, 13}, {13}}}) {
        headless.keys = c.keys;
        showMessage("File not found", true);
        EXPECT_EQ(headless.keys, c.left);
        EXPECT_EQ(headless.shown, cellBuffer);
    }
}

} // namespace
