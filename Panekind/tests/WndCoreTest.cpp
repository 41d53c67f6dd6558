// Window cores without windows: type words, pending geometry and the exported core array.
#include "WindowTestSupport.h"

#include <Panekind/TMdiWindow.h>
#include <Panekind/TWndStyle.h>

#include <Keelwork/TClassExpection.h>

namespace {

uint32_t Kind(const TobjectBase& object) { return object.GetClassWord() & TClassTypeSt::KindMask; }
bool Counted(const TobjectBase& object)
{
    return (object.GetClassWord() & TClassTypeSt::ReferenceFlag) != 0;
}

TEST(PanekindCoreTest, EveryClassStampsItsWordAndCoresAreCounted)
{
    TestCore* core = new TestCore;
    TMdiWndCore* frame = new TMdiWndCore;
    TMdiChildCore* child = new TMdiChildCore;
    {
        TWindow window(*core);
        TMdiWindow frameWindow(*frame);
        TMdiChildWindow childWindow(*child);
        TMdiWindow frameCopy(frameWindow);
        Panekind windowClass;
        struct Case {
            const TobjectBase& object;
            uint32_t kind;
            bool counted;
        } cases[] = {
            {*core, 0x03000001, true},      {*frame, 0x03000002, true},
            {*child, 0x03000002, true},     {windowClass, 0x03000010, false},
            {window, 0x03000020, false},    {frameWindow, 0x03000021, false},
            {frameCopy, 0x03000021, false}, {childWindow, 0x03000022, false},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(Kind(c.object), c.kind);
            EXPECT_EQ(Counted(c.object), c.counted) << std::hex << c.kind;
        }
    }
    core->Release();
    frame->Release();
    child->Release();
}

TEST(PanekindCoreTest, ConstructedCoreHasDefaultsAndNoWindow)
{
    TestCore* core = new TestCore;
    EXPECT_EQ(core->GetRefCount(), 1ul);
    EXPECT_FALSE(core->IsCreate());
    EXPECT_FALSE(core->IsMainWindow());
    EXPECT_TRUE(core->IsActive());
    // Bound to a reference here: the flag constants must be exported by the library.
    EXPECT_EQ(core->GetFlags(), TWndCore::FlagActive);
    EXPECT_EQ(core->GetHandle(), nullptr);
    EXPECT_EQ(core->GetStyle(), 0x10CF0000ul);
    EXPECT_EQ(core->GetExStyle(), 0ul);
    EXPECT_EQ(core->GetParent(), nullptr);
    EXPECT_EQ(core->GetID(), 0);
    EXPECT_TRUE(core->GetWindowTextA() == "TclassWindow");
    RECT expected = {0, 0, 320, 240};
    EXPECT_TRUE(SameRect(core->GetWindowRect(), expected));
    EXPECT_TRUE(SameRect(core->GetClientRect(), expected));
    EXPECT_TRUE(core->IsVisible());
    EXPECT_TRUE(core->IsEnable());
    EXPECT_EQ(core->GetSysWindowProc(), &TWndCore::_BaseWindowProc);
    core->Release();

    TMdiChildCore* child = new TMdiChildCore;
    EXPECT_EQ(child->GetStyle(), 0x54CF0000ul);
    EXPECT_EQ(child->GetExStyle(), 0x40ul);
    EXPECT_EQ(child->GetSysWindowProc(), &TWndCore::_BaseWindowProc);
    child->Release();
    TMdiWndCore* frame = new TMdiWndCore;
    EXPECT_EQ(frame->GetSysWindowProc(), &TMdiWndCore::_BaseWindowProc);
    frame->Release();
}

// Every pending geometry setter reaches its target and keeps the frame between
// the window rectangle and the client rectangle.
TEST(PanekindCoreTest, PendingGeometryKeepsTheGapBetweenWindowAndClient)
{
    struct Case {
        const char* name;
        std::function<void(TWindow&)> apply;
        std::function<bool(const TWndCore&)> reached;
    } cases[] = {
        {"SetWindowRect",
         [](TWindow& w) {
             w.SetWindowRect(RECT{50, 60, 500, 400});
         },
         [](const TWndCore& c) {
             RECT r = c.GetWindowRect();
             return r.left == 50 && r.top == 60 && r.right == 500 && r.bottom == 400;
         }},
        {"SetWindowPos",
         [](TWindow& w) {
             w.SetWindowPos(POINT{-7, 15});
         },
         [](const TWndCore& c) {
             RECT r = c.GetWindowRect();
             return r.left == -7 && r.top == 15;
         }},
        {"SetWindowSize",
         [](TWindow& w) {
             w.SetWindowSize(SIZE{200, 90});
         },
         [](const TWndCore& c) {
             RECT r = c.GetWindowRect();
             return r.right - r.left == 200 && r.bottom - r.top == 90;
         }},
        {"SetClientPos",
         [](TWindow& w) {
             w.SetClientPos(POINT{0, 0});
         },
         [](const TWndCore& c) {
             RECT r = c.GetClientRect();
             return r.left == 0 && r.top == 0;
         }},
        {"SetClientSize",
         [](TWindow& w) {
             w.SetClientSize(SIZE{333, 111});
         },
         [](const TWndCore& c) {
             RECT r = c.GetClientRect();
             return r.right - r.left == 333 && r.bottom - r.top == 111;
         }},
    };
    for (const Case& c : cases) {
        TestCore* core = new TestCore;
        TWindow window(*core);
        core->Release();
        window.SetClientRect(RECT{110, 130, 410, 330});
        RECT before = core->GetWindowRect();
        RECT client = core->GetClientRect();
        ASSERT_LT(before.left, client.left);
        c.apply(window);
        EXPECT_TRUE(c.reached(*core)) << c.name;
        RECT afterWindow = core->GetWindowRect();
        RECT afterClient = core->GetClientRect();
        EXPECT_EQ(afterClient.left - afterWindow.left, client.left - before.left) << c.name;
        EXPECT_EQ(afterClient.top - afterWindow.top, client.top - before.top) << c.name;
        EXPECT_EQ(afterWindow.right - afterClient.right, before.right - client.right) << c.name;
        EXPECT_EQ(afterWindow.bottom - afterClient.bottom, before.bottom - client.bottom) << c.name;
    }
}

TEST(PanekindCoreTest, PendingClientRectIsWidenedForStyleAndMenu)
{
    TestCore* core = new TestCore;
    TWindow window(*core);
    core->Release();
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "File");
    struct Case {
        unsigned long style;
        unsigned long exStyle;
        HMENU menu;
        BOOL menuCounts;
    } cases[] = {
        {WS_OVERLAPPEDWINDOW, 0, nullptr, FALSE},
        {WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE, menu, TRUE},
        {WS_POPUP, 0, nullptr, FALSE},
        // A child's slot holds its ID, which is no menu.
        {WS_CHILD | WS_BORDER, 0, reinterpret_cast<HMENU>(77), FALSE},
    };
    for (const Case& c : cases) {
        window.SetStyle(c.style);
        window.SetExStyle(c.exStyle);
        window.SetMenu(c.menu);
        RECT client = {100, 100, 300, 250};
        window.SetClientRect(client);
        RECT expected = client;
        AdjustWindowRectEx(&expected, c.style, c.menuCounts, c.exStyle);
        EXPECT_TRUE(SameRect(core->GetWindowRect(), expected)) << std::hex << c.style;
        EXPECT_TRUE(SameRect(core->GetClientRect(), client));
    }
    window.SetMenu(nullptr);
    DestroyMenu(menu);
}

TEST(PanekindCoreTest, PendingSettersReturnPreviousValues)
{
    TestCore* core = new TestCore;
    TWindow window(*core);
    core->Release();
    HWND desktop = GetDesktopWindow();
    TWndStyle popup = WS_POPUP;
    EXPECT_EQ(window.SetStyle(popup), 0x10CF0000ul);
    EXPECT_EQ(window.SetExStyle(WS_EX_TOOLWINDOW), 0ul);
    EXPECT_EQ(window.SetExStyle(0), static_cast<unsigned long>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(window.SetParent(desktop), nullptr);
    EXPECT_EQ(core->GetStyle() & WS_CHILD, 0ul);
    EXPECT_EQ(window.SetMother(nullptr), desktop);
    EXPECT_EQ(core->GetStyle(), static_cast<unsigned long>(WS_POPUP | WS_CHILD));
    EXPECT_EQ(window.SetID(42), 0);
    EXPECT_EQ(window.SetID(43), 42);
    EXPECT_EQ(core->GetID(), 43);
    window.SetStyle(WS_DISABLED);
    EXPECT_FALSE(core->IsEnable());
    EXPECT_FALSE(core->IsVisible());
    // A wide text is kept as ANSI text, not dropped.
    const unsigned short wide[] = {'W', 'i', 'd', 'e', 0};
    window.SetWindowTextA(TString(wide));
    TString text = core->GetWindowTextA();
    EXPECT_EQ(text.GetStringType(), 0u);
    EXPECT_TRUE(text == "Wide");
}

TEST(PanekindCoreArrayTest, ExportedArrayHoldsOneReferencePerEntry)
{
    TestCore* core = new TestCore;
    {
        TArrayRef<TWndCore> cores;
        EXPECT_EQ(cores.GetItemIndex(*core), 0xFFFFFFFFul);
        cores.AddItem(*core);
        cores.AddItem(*core);
        cores |= *core;
        TestCore* other = new TestCore;
        cores.InsItem(1, *other);
        other->Release();
        cores.AddItem(*core);
        EXPECT_EQ(cores.GetItemCount(), 4ul);
        EXPECT_EQ(core->GetRefCount(), 4ul);
        EXPECT_EQ(cores.GetItemIndex(*other), 1ul);
        EXPECT_THROW(cores.InsItem(5, *core), TCLASS_EXPECTION);
        EXPECT_THROW(cores.CutItem(4ul), TCLASS_EXPECTION);
        // Three occurrences leave together and give up three references.
        cores.CutItem(*core);
        EXPECT_EQ(core->GetRefCount(), 1ul);
        EXPECT_EQ(cores.GetItemCount(), 1ul);
        int destroyed = TestCore::s_Destroyed;
        cores.AllRelease();
        EXPECT_EQ(TestCore::s_Destroyed, destroyed + 1);
        cores.AddItem(*core);
    }
    EXPECT_EQ(core->GetRefCount(), 1ul);
    core->Release();
}

} // namespace
