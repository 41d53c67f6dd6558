// DIB sections: creation per bit count, deletion, format change, window contexts.
#include <Inkwell/TDC.h>
#include <Inkwell/TMemDC.h>

#include <gtest/gtest.h>

namespace {

TEST(DIBitmap, CreatesWhiteTopDownSectionsPerBitCount)
{
    struct Case {
        int bits;
        unsigned long format;
        long lineBytes; // for width 5
    };
    const Case cases[] = {{1, PIXEL_PAL8, 8},
                          {8, PIXEL_PAL8, 8},
                          {16, PIXEL_X1R5G5B5, 12},
                          {24, PIXEL_BGR24, 16},
                          {32, PIXEL_BGRA32, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        TDIBitmap* bitmap = new TDIBitmap;
        ASSERT_EQ(1, bitmap->CreateDIBitmap(5, 3, c.bits));
        EXPECT_EQ(c.format, bitmap->GetFormat());
        EXPECT_EQ(c.lineBytes, bitmap->GetLineByte());
        EXPECT_EQ(5, bitmap->GetWidth());
        RGBQUAD white = bitmap->GetPixel(4, 2);
        const int full = c.bits == 16 ? 248 : 255; // five bits of white read as 248
        EXPECT_EQ(full, white.rgbRed & white.rgbGreen & white.rgbBlue);
        EXPECT_EQ(255, white.rgbReserved);
        BITMAP info{};
        ASSERT_NE(0, GetObjectA(*bitmap, sizeof info, &info));
        EXPECT_EQ(bitmap->GetLpPixel(), info.bmBits);
        if (c.format == PIXEL_PAL8) {
            PALETTEENTRY entries[256];
            EXPECT_EQ(1, bitmap->GetPaletteEntry(256, entries));
        }
        bitmap->Release();
    }
}

TEST(DIBitmap, RefusesUnusableSizesAndLeavesItEmpty)
{
    TDIBitmap bitmap;
    const long sizes[][3] = {{0, 4, 32},          {4, 0, 32},         {-4, 4, 32},
                             {4, -4, 24},         {4, 4, 12},         {4, 4, 48},
                             {0x7FFFFFFF, 2, 32}, {70000, 70000, 32}, {1, 0x7FFFFFFF, 8}};
    for (const auto& s : sizes) {
        ASSERT_EQ(1, bitmap.CreateDIBitmap(2, 2, 32));
        EXPECT_EQ(0, bitmap.CreateDIBitmap(s[0], s[1], static_cast<int>(s[2])));
        EXPECT_EQ(nullptr, bitmap.GetHandle());
        EXPECT_EQ(0u, bitmap.GetFormat());
        EXPECT_EQ(0, bitmap.GetWidth());
        EXPECT_EQ(0, bitmap.BeginPaint());
    }
}

TEST(DIBitmap, ChangeFormatKeepsColoursAndGivesOpaqueAlpha)
{
    TMemDC dc;
    ASSERT_EQ(1, dc.CreateDCA(7, 3, 24));
    TDIBitmap* bitmap = dc.LookImgeObject();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            bitmap->SetPixel(x, y, RGBQUAD{BYTE(x * 30), BYTE(y * 80), BYTE(x + y), 0});
    EXPECT_EQ(0, bitmap->ChangeFormat(PIXEL_BGR24)) << "already that format";
    EXPECT_EQ(0, bitmap->ChangeFormat(PIXEL_PAL8));
    EXPECT_EQ(0, bitmap->ChangeFormat(0x04080009));
    ASSERT_EQ(1, bitmap->ChangeFormat(PIXEL_BGRA32));
    EXPECT_EQ(PIXEL_BGRA32, bitmap->GetFormat());
    EXPECT_EQ(28, bitmap->GetLineByte());
    EXPECT_EQ(bitmap->GetHandle(), GetCurrentObject(dc, OBJ_BITMAP)) << "re-selected";
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            RGBQUAD q = bitmap->GetPixel(x, y);
            EXPECT_EQ(x * 30, q.rgbBlue);
            EXPECT_EQ(y * 80, q.rgbGreen);
            EXPECT_EQ(x + y, q.rgbRed);
            EXPECT_EQ(0xFF, q.rgbReserved);
        }
    // A 16-bit variant keeps its own layout in a 16-bit section.
    ASSERT_EQ(1, bitmap->ChangeFormat(PIXEL_R5G6B5));
    EXPECT_EQ(16, bitmap->GetBPP());
    EXPECT_EQ(80 & 0xFC, bitmap->GetPixel(0, 1).rgbGreen);
    TDIBitmap empty;
    EXPECT_EQ(0, empty.ChangeFormat(PIXEL_BGRA32));
}

// A window whose WM_PAINT draws through TWndDC.
LRESULT CALLBACK PaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        TWndDC dc;
        HDC got = dc.GetDC(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, got ? 1 : 2);
        TBrush* brush = new TBrush;
        brush->CreateSolidBrush(RGB(0, 128, 0));
        dc.SelectObject(brush);
        brush->Release();
        PatBlt(dc, 0, 0, 10, 10, PATCOPY);
        return 0; // dc's destructor restores the brush and ends painting
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowContext : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PaintProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "InkwellTestWindow";
        RegisterClassA(&wc);
        m_Window = CreateWindowExA(0, "InkwellTestWindow", "t", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                   0, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_Window);
    }
    void TearDown() override { DestroyWindow(m_Window); }
    HWND m_Window = nullptr;
};

TEST_F(WindowContext, WindowContextsRecordAndRestoreTheirObjects)
{
    TDC empty;
    EXPECT_EQ(nullptr, empty.GetDC(nullptr));
    TDC dc(m_Window);
    ASSERT_NE(nullptr, static_cast<HDC>(dc));
    EXPECT_EQ(m_Window, dc.GetWindow());
    HGDIOBJ initialBrush = dc.GetInitialObject(TDC_BRUSH);
    EXPECT_EQ(initialBrush, GetCurrentObject(dc, OBJ_BRUSH));
    TBrush* brush = new TBrush;
    brush->CreateSolidBrush(RGB(1, 2, 3));
    dc.SelectObject(brush);
    EXPECT_EQ(brush->GetHandle(), GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(2u, brush->GetRefCount());
    dc.RelDC();
    EXPECT_EQ(1u, brush->GetRefCount());
    EXPECT_EQ(nullptr, static_cast<HDC>(dc));
    brush->Release();

    TWindowDC whole;
    ASSERT_NE(nullptr, whole.GetDC(m_Window));
    InvalidateRect(m_Window, nullptr, FALSE);
    whole.RelDC();
    RECT update;
    EXPECT_FALSE(GetUpdateRect(m_Window, &update, FALSE)) << "releasing validates the window";
}

TEST_F(WindowContext, PaintContextEndsThePaint)
{
    InvalidateRect(m_Window, nullptr, FALSE);
    UpdateWindow(m_Window);
    EXPECT_EQ(1, GetWindowLongPtrA(m_Window, GWLP_USERDATA));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(m_Window, &update, FALSE));
}

} // namespace
