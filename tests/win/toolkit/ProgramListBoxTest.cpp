#include "FrameFixture.h"

#include "tests/harness/PixelCanvas.h"

#include <cstdlib>
#include <string>

namespace {
const COLORREF Yellow = RGB(255, 255, 0);
const COLORREF Grey = RGB(128, 128, 128);
const COLORREF LightGrey = RGB(192, 192, 192);
const COLORREF Black = RGB(0, 0, 0);

class ProgramListRows : public FrameFixture {
protected:
    DRAWITEMSTRUCT itemFor(const char *text, HDC dc, RECT rect, UINT action)
    {
        LRESULT index = SendMessageA(list.handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = list.id;
        item.itemID = static_cast<UINT>(index);
        item.itemAction = action;
        item.hwndItem = list.handle;
        item.hDC = dc;
        item.rcItem = rect;
        return item;
    }
};

TEST_F(ProgramListRows, RowIsFramedAndItsTextIsYellowOnGreyFiveIn)
{
    PixelCanvas canvas(200, 20);
    DRAWITEMSTRUCT item = itemFor("C:\\Tools\\Sample.exe", canvas.dc(), {0, 0, 200, 20},
                                  ODA_DRAWENTIRE);
    list.drawItem(&item);

    // Outermost pixels of the row: light grey left column and top row (with the
    // bottom-left corner), black right column and bottom row (with the top-right).
    EXPECT_EQ(canvas.at(0, 0), LightGrey);
    EXPECT_EQ(canvas.at(0, 10), LightGrey);
    EXPECT_EQ(canvas.at(0, 19), LightGrey);
    EXPECT_EQ(canvas.at(100, 0), LightGrey);
    EXPECT_EQ(canvas.at(199, 0), Black);
    EXPECT_EQ(canvas.at(199, 10), Black);
    EXPECT_EQ(canvas.at(199, 19), Black);
    EXPECT_EQ(canvas.at(100, 19), Black);

    RECT text = canvas.boundsOf(Yellow);
    ASSERT_LE(text.left, text.right) << "no yellow text drawn";
    EXPECT_GE(text.left, 5);
    EXPECT_LE(text.left, 7);
    // Vertically centred in the row.
    EXPECT_LE(std::abs((text.top + text.bottom) - 19), 3);
    // The text cell is grey, and only the cell: the rest of the row is left alone.
    EXPECT_GT(canvas.countOf(Grey), 0);
    RECT cell = canvas.boundsOf(Grey);
    EXPECT_GE(cell.left, 5);
    EXPECT_EQ(canvas.at(3, 10), Marker);
    EXPECT_EQ(canvas.at(198, 10), Marker);
}

TEST_F(ProgramListRows, SelectionAndFocusChangesDrawNothing)
{
    for (UINT action : {static_cast<UINT>(ODA_SELECT), static_cast<UINT>(ODA_FOCUS)}) {
        PixelCanvas canvas(200, 20);
        DRAWITEMSTRUCT item = itemFor("C:\\Tools\\Sample.exe", canvas.dc(), {0, 0, 200, 20}, action);
        list.drawItem(&item);
        EXPECT_EQ(canvas.countOf(Marker), 200 * 20) << "action " << action;
    }
}

TEST_F(ProgramListRows, LongRowIsShownWhole)
{
    std::string path = "C:\\";
    while (path.size() < 250)
        path += "Deep Folder\\";
    path += "Sample.exe";
    PixelCanvas canvas(2600, 20);
    DRAWITEMSTRUCT item = itemFor(path.c_str(), canvas.dc(), {0, 0, 2600, 20}, ODA_DRAWENTIRE);
    list.drawItem(&item);

    SIZE whole{}, first79{};
    GetTextExtentPoint32A(canvas.dc(), path.c_str(), static_cast<int>(path.size()), &whole);
    GetTextExtentPoint32A(canvas.dc(), path.c_str(), 79, &first79);
    ASSERT_LT(5 + whole.cx, 2599);
    RECT cell = canvas.boundsOf(Grey);
    EXPECT_GT(cell.right, 5 + first79.cx);
    EXPECT_EQ(cell.right, 5 + whole.cx - 1);
}

TEST_F(ProgramListRows, RowsAreKeptInSortOrder)
{
    for (const char *line : {"D:\\b\\Tool.exe", "C:\\z\\Tool.exe", "D:\\a\\Tool.exe"})
        SendMessageA(list.handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    const char *expected[] = {"C:\\z\\Tool.exe", "D:\\a\\Tool.exe", "D:\\b\\Tool.exe"};
    ASSERT_EQ(SendMessageA(list.handle, LB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        char text[64] = {};
        SendMessageA(list.handle, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[i]);
    }
}

TEST(ProgramListBoxObject, IsAnOwnerDrawnSortedListOnAGreyBrush)
{
    ProgramListBox list;
    EXPECT_EQ(list.style, 0x50200152u);
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectA(list.background, sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, Grey);
    ListBoxControl plain;
    EXPECT_EQ(plain.style, 0x50201501u);
}
}
