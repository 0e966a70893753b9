#include "toolkit/LabelControl.h"
#include "toolkit/LineControl.h"
#include "toolkit/PicControl.h"

#include "tests/harness/PixelCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Paper = RGB(255, 255, 200);
constexpr COLORREF Ink = RGB(0, 0, 128);

// A label laid out as its window creation would for a client area of width x height.
struct LabelOnCanvas {
    LabelOnCanvas(int width, int height, UINT format, const char *text)
        : label(7301, 0), canvas(width, height, White)
    {
        label.format = format;
        label.textRect = {1, 1, width - 1, height - 1};
        label.setFont("", 10);
        label.setText(text, Ink, Paper);
        SelectedObject font(canvas.dc(), label.font.font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(canvas.dc(), &metrics);
        lineHeight = metrics.tmHeight;
        charWidth = metrics.tmMaxCharWidth;
    }
    void draw() { label.draw(canvas.dc(), RECT{0, 0, 400, 400}); }

    LabelControl label;
    PixelCanvas canvas;
    int lineHeight = 0;
    int charWidth = 0;
};

TEST(LabelDrawing, ALineFeedWithFormatZeroDrawsTwoLinesFromTheTopLeft)
{
    LabelOnCanvas l(200, 80, 0, "Wide\nWide");
    l.draw();
    const RECT ink = l.canvas.inkBounds(Paper);
    const int top = l.label.textRect.top;
    EXPECT_GE(ink.left, 1);
    EXPECT_LT(ink.left, 1 + l.charWidth);
    EXPECT_GE(ink.top, top);
    EXPECT_TRUE(l.canvas.inkInRows(Paper, top, top + l.lineHeight));
    EXPECT_TRUE(l.canvas.inkInRows(Paper, top + l.lineHeight, top + 2 * l.lineHeight));
    EXPECT_FALSE(l.canvas.inkInRows(Paper, top + 2 * l.lineHeight, 80));
}

TEST(LabelDrawing, SingleLineVerticalCentringPutsTheTextInTheMiddleOfTheRectangle)
{
    struct Case {
        UINT format;
        bool centred;
    };
    for (const Case &c : {Case{DT_SINGLELINE | DT_VCENTER, true}, Case{DT_SINGLELINE, false}}) {
        SCOPED_TRACE(c.format);
        LabelOnCanvas l(200, 62, c.format, "Centre");
        l.draw();
        const int top = l.label.textRect.top;
        const int cellTop = c.centred ? top + (60 - l.lineHeight) / 2 : top;
        EXPECT_FALSE(l.canvas.inkInRows(Paper, 0, cellTop));
        EXPECT_TRUE(l.canvas.inkInRows(Paper, cellTop, cellTop + l.lineHeight));
        EXPECT_FALSE(l.canvas.inkInRows(Paper, cellTop + l.lineHeight + 1, 62));
    }
}

TEST(LabelDrawing, AFocusRectangleFramesTheCentredTextOnly)
{
    LabelOnCanvas l(200, 62, DT_SINGLELINE | DT_VCENTER, "Centre");
    l.label.draw(l.canvas.dc(), RECT{0, 0, 400, 400}, true);
    const int cellTop = 1 + (60 - l.lineHeight) / 2;
    EXPECT_FALSE(l.canvas.inkInRows(Paper, 0, cellTop - 1));
    EXPECT_TRUE(l.canvas.inkInRows(Paper, cellTop - 1, cellTop));
    EXPECT_TRUE(l.canvas.inkInRows(Paper, cellTop + l.lineHeight, cellTop + l.lineHeight + 1));
    EXPECT_FALSE(l.canvas.inkInRows(Paper, cellTop + l.lineHeight + 1, 62));
}

TEST(LabelDrawing, WordBreakWrapsALongTextWithinTheRectangleWidth)
{
    const char *text = "one two three four five six seven eight nine ten";
    struct Case {
        UINT format;
        bool wraps;
    };
    for (const Case &c : {Case{DT_WORDBREAK, true}, Case{0, false}}) {
        SCOPED_TRACE(c.format);
        LabelOnCanvas l(400, 100, c.format, text);
        l.label.textRect.right = 90;
        l.draw();
        const int top = l.label.textRect.top;
        EXPECT_TRUE(l.canvas.inkInRows(Paper, top, top + l.lineHeight));
        EXPECT_EQ(l.canvas.inkInRows(Paper, top + l.lineHeight, top + 2 * l.lineHeight), c.wraps);
        if (c.wraps) {
            EXPECT_LT(l.canvas.inkBounds(Paper).right, 90);
        }
    }
}

TEST(LabelDrawing, FillsThePaintedAreaAndDrawsInTheLabelColours)
{
    struct Case {
        COLORREF given;
        COLORREF shown;
    };
    for (const Case &c : {Case{Paper, Paper}, Case{0, GetSysColor(COLOR_BTNFACE)}}) {
        SCOPED_TRACE(c.given);
        LabelControl label(7302, 0);
        label.textRect = {1, 1, 99, 39};
        label.setFont("", 10);
        label.setText("Colours", Ink, c.given);
        EXPECT_EQ(label.background, c.shown);
        PixelCanvas canvas(140, 40, White);
        HGDIOBJ contextFont = GetCurrentObject(canvas.dc(), OBJ_FONT);
        label.draw(canvas.dc(), RECT{0, 0, 120, 40});
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), contextFont) << "the label's font stayed selected";
        EXPECT_EQ(canvas.at(0, 0), c.shown);
        EXPECT_EQ(canvas.at(119, 39), c.shown);
        EXPECT_EQ(canvas.at(120, 0), White);
        EXPECT_GT(canvas.countOf(Ink), 0);
    }
}

TEST(LabelFont, SetFontFillsTheFaceAndPointHeightAndKeepsCallerFields)
{
    DeviceContextOwner display(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
    const int pixelsPerInch = GetDeviceCaps(display.get(), LOGPIXELSY);
    const std::string longFace(40, 'F');
    struct Case {
        const char *face;
        int points;
        std::string expectedFace;
    };
    const Case cases[] = {
        {"", 8, "MS Sans Serif"},
        {nullptr, 10, "MS Sans Serif"},
        {"Arial", 12, "Arial"},
        {longFace.c_str(), 9, std::string(31, 'F')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expectedFace);
        LabelControl label(7311, 0);
        label.font.logFont.lfWeight = 700;
        label.font.logFont.lfUnderline = 1;
        label.setFont(c.face, c.points);
        EXPECT_EQ(std::string(label.font.logFont.lfFaceName), c.expectedFace);
        EXPECT_EQ(label.font.logFont.lfHeight, -MulDiv(c.points, pixelsPerInch, 72));
        LOGFONTA made{};
        ASSERT_EQ(GetObjectA(label.font.font, sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(made.lfWeight, 700);
        EXPECT_EQ(made.lfUnderline, 1);
        EXPECT_EQ(made.lfHeight, label.font.logFont.lfHeight);
    }
}

TEST(LabelFont, ANewFontReleasesThePreviousOneAndTheLabelReleasesItsLast)
{
    HFONT first;
    HFONT second;
    {
        LabelControl label(7312, 0);
        label.setFont("", 8);
        first = label.font.font;
        label.setFont("Arial", 10);
        second = label.font.font;
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(GetObjectType(first), 0u);
        EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_EQ(GetObjectType(second), 0u);
}

constexpr COLORREF Red = RGB(255, 0, 0);

TEST(LineDrawing, DrawsOneLineAlongTheTopEdgeThatAWiderPenGrowsAround)
{
    struct Case {
        int width; // 0: the pen as constructed, one pixel of black
        COLORREF colour;
        int lastInkedRow;
    };
    for (const Case &c : {Case{0, RGB(0, 0, 0), 0}, Case{1, Red, 0}, Case{3, Red, 1}}) {
        SCOPED_TRACE(c.width);
        LineControl line(7321);
        line.clientRect = {0, 0, 50, 10};
        if (c.width)
            line.setPen(c.colour, c.width);
        PixelCanvas canvas(60, 12, White);
        line.draw(canvas.dc());
        for (int x = 5; x < 45; ++x)
            for (int y = 0; y <= c.lastInkedRow; ++y)
                ASSERT_EQ(canvas.at(x, y), c.colour) << x << "," << y;
        EXPECT_EQ(canvas.at(0, 0), c.colour);
        EXPECT_FALSE(canvas.inkInRows(White, c.lastInkedRow + 2, 12));
        EXPECT_EQ(canvas.at(55, 0), White);
    }
}

// A control window of the given size inside a hidden pop-up parent.
class ControlWindow {
public:
    ControlWindow(const char *className, int id, int width, int height)
    {
        LabelControl registrar(7399, 0);
        LineControl lineRegistrar(7398);
        PicControl picRegistrar(7397, 0, 0);
        registrar.registerClass();
        lineRegistrar.registerClass();
        picRegistrar.registerClass();
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        window = CreateWindowExA(0, className, "", WS_CHILD, 0, 0, width, height, parent_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                 nullptr);
    }
    ~ControlWindow() { DestroyWindow(parent_); }
    HWND window;

private:
    HWND parent_;
};

TEST(LineDrawing, TakesItsClientRectangleWhenItsWindowIsCreated)
{
    LineControl line(7323);
    ControlWindow window("LineClass", 7323, 120, 8);
    ASSERT_EQ(line.handle, window.window);
    EXPECT_EQ(line.clientRect.right, 120);
    EXPECT_EQ(line.clientRect.bottom, 8);
}

TEST(PictureDrawing, CopiesTheBitmapsTopLeftOverTheClientSizeLessOnePixel)
{
    struct Case {
        int width;
        int height;
    };
    for (const Case &c : {Case{20, 15}, Case{33, 10}}) {
        SCOPED_TRACE(c.width);
        PicControl picture(7331, 7001, 0);
        ControlWindow window("PicClass", 7331, c.width, c.height);
        ASSERT_NE(picture.bitmap.get(), nullptr);
        EXPECT_EQ(picture.left, 0);
        EXPECT_EQ(picture.top, 0);
        EXPECT_EQ(picture.width, c.width - 1);
        EXPECT_EQ(picture.height, c.height - 1);
        PixelCanvas canvas(64, 48, White);
        picture.draw(canvas.dc());
        // The bitmap's pixel (x, y) is RGB(4x, 4y, 200).
        for (int y = 0; y < c.height - 1; ++y)
            for (int x = 0; x < c.width - 1; ++x)
                ASSERT_EQ(canvas.at(x, y), RGB(4 * x, 4 * y, 200)) << x << "," << y;
        for (int y = 0; y < c.height; ++y)
            EXPECT_EQ(canvas.at(c.width - 1, y), White);
        for (int x = 0; x < c.width; ++x)
            EXPECT_EQ(canvas.at(x, c.height - 1), White);
    }
}

TEST(PictureDrawing, AMissingBitmapResourceDrawsNothing)
{
    PicControl picture(7332, 7999, 0);
    ControlWindow window("PicClass", 7332, 20, 15);
    EXPECT_EQ(picture.bitmap.get(), nullptr);
    PixelCanvas canvas(30, 20, White);
    picture.draw(canvas.dc());
    EXPECT_EQ(canvas.countOf(White), 30 * 20);
}

TEST(PictureDrawing, ReleasesTheBitmapWhenItsWindowIsDestroyed)
{
    PicControl picture(7333, 7001, 0);
    HBITMAP bitmap;
    {
        ControlWindow window("PicClass", 7333, 20, 15);
        bitmap = picture.bitmap.get();
        ASSERT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

} // namespace
