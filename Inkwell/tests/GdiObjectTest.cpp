// GDI objects in real device contexts: re-creation, re-selection, release and restore.
#include <Inkwell/TFont.h>
#include <Inkwell/TMemDC.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

int g_Destroyed = 0;

// Kinds that count their destruction.
struct CountedBrush : TBrush {
    ~CountedBrush() override { ++g_Destroyed; }
};
struct CountedFont : TFont {
    ~CountedFont() override { ++g_Destroyed; }
};

TEST(GdiObject, FontSelectedIntoTwoContextsFollowsItsNewSize)
{
    g_Destroyed = 0;
    TMemDC a, b;
    ASSERT_EQ(1, a.CreateDCA());
    ASSERT_EQ(1, b.CreateDCA());
    CountedFont* font = new CountedFont;
    // Before CreateFontA setters only store.
    EXPECT_EQ(1, font->SetSize(0, 12, FW_NORMAL));
    EXPECT_EQ(nullptr, font->GetHandle());
    EXPECT_EQ(12, font->GetHeight());
    ASSERT_EQ(1, font->CreateFontA());
    EXPECT_EQ(1, a.SelectObject(font));
    EXPECT_EQ(1, b.SelectObject(font));
    font->Release(); // the two contexts hold it now
    HGDIOBJ first = font->GetHandle();
    EXPECT_EQ(first, GetCurrentObject(a, OBJ_FONT));

    // Same values: nothing re-created.
    EXPECT_EQ(1, font->SetSize(0, 12, FW_NORMAL));
    EXPECT_EQ(first, font->GetHandle());
    EXPECT_EQ(1, font->SetSize(0, 20, FW_BOLD));
    HGDIOBJ second = font->GetHandle();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(second, GetCurrentObject(a, OBJ_FONT));
    EXPECT_EQ(second, GetCurrentObject(b, OBJ_FONT));
    LOGFONTA selected{};
    GetObjectA(GetCurrentObject(b, OBJ_FONT), sizeof selected, &selected);
    EXPECT_EQ(20, selected.lfHeight);
    EXPECT_EQ(0, GetObjectType(first)) << "the old font was deleted";

    a.DeleteDC();
    EXPECT_EQ(0, g_Destroyed);
    EXPECT_EQ(a.GetInitialObject(TDC_FONT), nullptr);
    b.DeleteDC();
    EXPECT_EQ(1, g_Destroyed) << "the last context released the font";
}

TEST(GdiObject, SelectingASecondBrushReleasesTheFirst)
{
    g_Destroyed = 0;
    TMemDC dc;
    ASSERT_EQ(1, dc.CreateDCA());
    CountedBrush* first = new CountedBrush;
    CountedBrush* second = new CountedBrush;
    ASSERT_EQ(1, first->CreateSolidBrush(RGB(255, 0, 0)));
    ASSERT_EQ(1, second->CreateSolidBrush(RGB(0, 0, 255)));
    dc.SelectObject(first);
    first->Release();
    EXPECT_EQ(1, dc.SelectObject(first)) << "selecting the held object again keeps it";
    EXPECT_EQ(0, g_Destroyed);
    EXPECT_EQ(first->GetHandle(), GetCurrentObject(dc, OBJ_BRUSH));
    dc.SelectObject(second);
    EXPECT_EQ(1, g_Destroyed);
    EXPECT_EQ(second->GetHandle(), GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(second, dc.LockObject(INKWELL_CLASS_BRUSH));

    // A brush that changes colour stays selected; deleting it restores the initial one.
    HDC raw = dc;
    ASSERT_EQ(1, second->CreateSolidBrush(RGB(0, 255, 0)));
    EXPECT_EQ(second->GetHandle(), GetCurrentObject(raw, OBJ_BRUSH));
    second->Release();
    dc.DeleteDC();
    EXPECT_EQ(2, g_Destroyed);
}

TEST(GdiObject, LockAndGetObjectByKind)
{
    TMemDC dc;
    ASSERT_EQ(1, dc.CreateDCA());
    TPen* pen = new TPen;
    EXPECT_EQ(1, pen->GetWidth());
    ASSERT_EQ(1, pen->CreateSolidPen(3, RGB(1, 2, 3)));
    dc.SelectObject(pen);
    EXPECT_EQ(pen, dc.LockObject(INKWELL_CLASS_PEN));
    EXPECT_EQ(nullptr, dc.LockObject(INKWELL_CLASS_BRUSH));
    for (unsigned long kind : std::initializer_list<unsigned long>{
             INKWELL_CLASS_DC, INKWELL_CLASS_MEMDC, INKWELL_CLASS_WNDDC, INKWELL_CLASS_WINDOWDC,
             0x02000016ul, 0ul})
        EXPECT_EQ(nullptr, dc.LockObject(kind));
    TGdiObject* held = dc.GetObjectA(INKWELL_CLASS_PEN);
    EXPECT_EQ(pen, held);
    EXPECT_EQ(3u, pen->GetRefCount());
    held->Release();
    // Deleting the pen's handle puts the context back on its initial pen.
    pen->DeletePen();
    EXPECT_EQ(dc.GetInitialObject(TDC_PEN), GetCurrentObject(dc, OBJ_PEN));
    pen->Release();
    EXPECT_EQ(0, dc.SelectObject(nullptr));
}

TEST(GdiObject, PaletteFromOutsideIsSelectedAsAPalette)
{
    LOGPALETTE colours{0x300, 1, {{255, 0, 0, 0}}};
    HPALETTE first = CreatePalette(&colours), second = CreatePalette(&colours);
    TMemDC dc;
    ASSERT_EQ(1, dc.CreateDCA());
    TPalette* palette = new TPalette;
    EXPECT_EQ(0, palette->Attach(nullptr));
    ASSERT_EQ(1, palette->Attach(first));
    dc.SelectObject(palette);
    EXPECT_EQ(first, GetCurrentObject(dc, OBJ_PAL));
    // A replaced palette is put out of the context before it is deleted.
    ASSERT_EQ(1, palette->Attach(second));
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_EQ(second, GetCurrentObject(dc, OBJ_PAL));
    palette->Release();
    dc.DeleteDC();
    EXPECT_EQ(0u, GetObjectType(second)) << "the last release deleted the palette";
}

TEST(GdiObject, ObjectDestroyedWhileSelectedLeavesTheContextSound)
{
    TMemDC dc;
    ASSERT_EQ(1, dc.CreateDCA());
    {
        TBrush local; // owner destroys it without releasing the context's reference
        local.CreateSolidBrush(RGB(9, 9, 9));
        dc.SelectObject(&local);
    }
    EXPECT_EQ(nullptr, dc.LockObject(INKWELL_CLASS_BRUSH));
    EXPECT_EQ(dc.GetInitialObject(TDC_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));
    dc.DeleteDC();
}

TEST(GdiObject, FontSettersStoreTheLogFont)
{
    TFont font;
    EXPECT_STREQ("ＭＳ ゴシック", font.GetFaceName());
    EXPECT_EQ(0, font.GetHeight());
    EXPECT_EQ(1, font.SetAngle(900, 450));
    EXPECT_EQ(1, font.SetOption(1, 1, 0));
    EXPECT_EQ(1, font.SetQuality(OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY));
    EXPECT_EQ(900, font.GetEscapement());
    EXPECT_EQ(450, font.GetOrientation());
    EXPECT_EQ(1, font.GetItalic());
    EXPECT_EQ(1, font.GetUnderline());
    EXPECT_EQ(ANTIALIASED_QUALITY, font.GetQuality());
    // A face name longer than LOGFONTA holds is cut, never copied past it.
    const char longFace[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnop";
    EXPECT_EQ(1, font.SetCharSet(SHIFTJIS_CHARSET, FIXED_PITCH, longFace));
    EXPECT_EQ(31u, std::strlen(font.GetFaceName()));
    EXPECT_EQ(0, std::strncmp(longFace, font.GetFaceName(), 31));
    EXPECT_EQ(SHIFTJIS_CHARSET, font.GetCharSet());
    EXPECT_EQ(nullptr, font.GetHandle());
}

TEST(MemDC, SizedContextOwnsItsBitmap)
{
    TMemDC dc;
    EXPECT_EQ(0, dc.BitAlphaBlt(0, 0, 1, 1, nullptr, 0, 0, 256)) << "no bitmap selected";
    RGBQUAD none = dc.GetPixel(0, 0);
    EXPECT_EQ(0, none.rgbBlue | none.rgbGreen | none.rgbRed | none.rgbReserved);
    ASSERT_EQ(1, dc.CreateDCA(8, 4, 32));
    TDIBitmap* bitmap = dc.LookImgeObject();
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(1u, bitmap->GetRefCount());
    HGDIOBJ section = bitmap->GetHandle();
    EXPECT_EQ(section, GetCurrentObject(dc, OBJ_BITMAP));

    // GDI drawing into the section is visible to the pixel routines, top row first.
    RECT top{0, 0, 8, 1};
    FillRect(dc, &top, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RGBQUAD p0 = dc.GetPixel(3, 0), p1 = dc.GetPixel(3, 1);
    EXPECT_EQ(0, p0.rgbRed | p0.rgbGreen | p0.rgbBlue);
    EXPECT_EQ(255, p1.rgbRed & p1.rgbGreen & p1.rgbBlue);

    // Re-creating the section re-selects it; deleting it restores the initial bitmap.
    HDC raw = dc;
    ASSERT_EQ(1, bitmap->CreateDIBitmap(2, 2, 24));
    EXPECT_EQ(bitmap->GetHandle(), GetCurrentObject(raw, OBJ_BITMAP));
    EXPECT_EQ(0, GetObjectType(section)) << "old section deleted";
    section = bitmap->GetHandle();
    bitmap->DeleteDIBitmap();
    EXPECT_EQ(dc.GetInitialObject(TDC_BITMAP), GetCurrentObject(raw, OBJ_BITMAP));
    ASSERT_EQ(1, bitmap->CreateDIBitmap(2, 2, 24));
    section = bitmap->GetHandle();
    dc.DeleteDC();
    EXPECT_EQ(0, GetObjectType(section)) << "the bitmap died with the context";
    EXPECT_EQ(nullptr, dc.LookImgeObject());
}

} // namespace
