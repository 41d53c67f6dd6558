// Skin store: construction of the drawing objects, loading and releasing the canvases
// and bitmaps, the caption gradients and the reduced image.
#include "ui/SkinStore.h"

#include "ui/ProgramResources.h"

#include <Keelwork/TFloat.h>
#include <Keelwork/TobjectBase.h>

SkinStore* g_lpSkinStore = nullptr;

namespace {

struct SkinFile {
    const char* image;
    const char* mask; // null: the bitmap keeps the opaque alpha of its conversion
};

struct SkinGroup {
    long width;
    long height;
    int count;
    SkinFile files[SKIN_MAX_GROUP];
};

// Canvas sizes and bitmap groups in loading order.
const SkinGroup GROUPS[CANVAS_COUNT] = {
    {640,
     24,
     4,
     {{"100.bmp", "100a.bmp"}, {"101.bmp", nullptr}, {"102.bmp", nullptr}, {"103.bmp", nullptr}}},
    {260,
     18,
     5,
     {{"200.bmp", nullptr},
      {"201.bmp", "201a.bmp"},
      {"202.bmp", "202a.bmp"},
      {"203.bmp", "203a.bmp"},
      {"204.bmp", nullptr}}},
    {360,
     280,
     4,
     {{"300.bmp", nullptr},
      {"301.bmp", "301a.bmp"},
      {"302.bmp", "302a.bmp"},
      {"303.bmp", nullptr}}},
    {280, 220, 1, {{"400.bmp", nullptr}}},
    {280,
     60,
     5,
     {{"500.bmp", nullptr},
      {"501.bmp", nullptr},
      {"502.bmp", "502a.bmp"},
      {"503.bmp", "503a.bmp"},
      {"504.bmp", nullptr}}},
    {640, 24, 1, {{"600.bmp", "600a.bmp"}}},
    {376, 44, 2, {{"700.bmp", "700a.bmp"}, {"701.bmp", "701a.bmp"}}},
    {300, 20, 2, {{"800.bmp", nullptr}, {"801.bmp", "801a.bmp"}}},
};

constexpr int CAPTION_WIDTH = 191;
constexpr int CAPTION_ROWS = 8;

const COLORREF PEN_COLOURS[SKIN_PENS] = {0xA0A0A0, 0xDCDCDC, 0x646464, 0xFF0000,
                                         0x0000FF, 0xF0F0F0, 0x101010};

// The program's cursor, or the system's nearest one when the image has none (a test).
HCURSOR LoadProgramCursor(int id, LPCSTR fallback)
{
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(id));
    return cursor ? cursor : LoadCursorA(nullptr, fallback);
}

void MakeFont(TFont& font, long height, long weight)
{
    font.SetSize(0, height, weight);
    font.SetOption(0, 0, 0);
    font.SetQuality(7, 0, 2);
    font.SetCharSet(128, 0x50, "ＭＳ ゴシック");
    font.CreateFontA();
}

// One gradient row from start to end, as pixels with blue in the low byte. Each channel
// advances in 16.16 steps of (end - start) / 191 and is cut to its integer part.
void GradientRow(COLORREF start, COLORREF end, RGBQUAD (&row)[CAPTION_WIDTH])
{
    const int shifts[3] = {16, 8, 0}; // red, green, blue of a COLORREF, into pixel order
    BYTE* channels[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < CAPTION_WIDTH; ++i) {
        channels[0] = &row[i].rgbBlue;
        channels[1] = &row[i].rgbGreen;
        channels[2] = &row[i].rgbRed;
        row[i].rgbReserved = 0xFF;
        for (int c = 0; c < 3; ++c) {
            // Pixel order: blue from the COLORREF's high byte, red from its low byte.
            long from = static_cast<long>((start >> shifts[c]) & 0xFF);
            long to = static_cast<long>((end >> shifts[c]) & 0xFF);
            TFloat step = (TFloat(to) - TFloat(from)) / TFloat(CAPTION_WIDTH);
            *channels[c] = static_cast<BYTE>(static_cast<long>(TFloat(from) + step * TFloat(i)));
        }
    }
}

} // namespace

SkinStore::SkinStore(const char* folder) : m_Folder(folder)
{
    m_HoverCursor = LoadProgramCursor(IDC_HAND_OPEN, IDC_HAND);
    m_DragCursor = LoadProgramCursor(IDC_HAND_CLOSED, IDC_SIZEALL);
    m_Brushes[0].CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    m_Brushes[1].CreateSolidBrush(0x8C8C8C);
    m_Brushes[2].CreateSolidBrush(0x000000);
    for (int i = 0; i < SKIN_PENS; ++i)
        m_Pens[i].CreateSolidPen(1, PEN_COLOURS[i]);
    MakeFont(m_Fonts[0], 11, 900);
    MakeFont(m_Fonts[1], 12, 100);
    InitializeCriticalSection(&m_Lock);
}

SkinStore::~SkinStore()
{
    Release();
    DeleteCriticalSection(&m_Lock);
}

TString SkinStore::FilePath(const char* name) const
{
    return m_Folder & TString("/") & TString(name);
}

int SkinStore::GetBitmapCount(SkinCanvas canvas) const { return GROUPS[canvas].count; }

int SkinStore::Lock()
{
    if (!Load()) return 0;
    EnterCriticalSection(&m_Lock);
    return 1;
}

int SkinStore::Load()
{
    if (m_Loaded) return 1;
    if (m_Suspended) return 0;
    EnterCriticalSection(&m_Lock);
    for (int n = 0; n < CANVAS_COUNT; ++n) {
        const SkinGroup& group = GROUPS[n];
        m_Canvases[n].CreateDCA(group.width, group.height, 32);
        for (int i = 0; i < group.count; ++i) {
            TDIBitmap* bitmap = new TDIBitmap;
            TString image = FilePath(group.files[i].image);
            if (bitmap->OpenBitmapFile(static_cast<const char*>(image)) &&
                bitmap->ChangeFormat(PIXEL_BGRA32) && group.files[i].mask) {
                TString mask = FilePath(group.files[i].mask);
                bitmap->OpenMaskBitmap(static_cast<const char*>(mask));
            }
            m_Groups[n][i] = bitmap;
        }
    }
    m_Reduced.CreateDCA(REDUCED_WIDTH, REDUCED_HEIGHT, 16);
    m_Loaded = 1;
    ComposeCaptionGradients();
    LeaveCriticalSection(&m_Lock);
    return 1;
}

void SkinStore::Release()
{
    EnterCriticalSection(&m_Lock);
    for (int n = 0; n < CANVAS_COUNT; ++n) {
        m_Canvases[n].DeleteDC();
        for (TDIBitmap*& bitmap : m_Groups[n]) {
            if (bitmap) bitmap->Release();
            bitmap = nullptr;
        }
    }
    m_Reduced.DeleteDC();
    m_Loaded = 0;
    LeaveCriticalSection(&m_Lock);
}

void SkinStore::ComposeCaptionGradients()
{
    if (!m_Loaded) return;
    TDIBitmap* band = m_Groups[CANVAS_TITLEBAR][2];
    RGBQUAD active[CAPTION_WIDTH];
    RGBQUAD inactive[CAPTION_WIDTH];
    GradientRow(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_GRADIENTACTIVECAPTION), active);
    GradientRow(GetSysColor(COLOR_INACTIVECAPTION), GetSysColor(COLOR_GRADIENTINACTIVECAPTION),
                inactive);
    for (int row = 0; row < 2 * CAPTION_ROWS; ++row)
        for (int x = 0; x < CAPTION_WIDTH; ++x)
            band->SetPixel(x, row, row < CAPTION_ROWS ? inactive[x] : active[x]);
}

void SkinStore::ComposeReducedImage(TDibFeeld& remote)
{
    if (!m_Loaded) return;
    m_Reduced.StretchBlt(0, 0, REDUCED_WIDTH, REDUCED_HEIGHT, &remote, 0, 0, remote.GetWidth(),
                         remote.GetHeight(), 1);
}
