// The view panes without windows: every pane's coordinate formula in one table, the clip
// region's clamps and outline, capture and confinement, scrolling, the full-size view's
// layout and hit areas, the address texts.
#include "ui/AddressText.h"
#include "ui/ViewGeometry.h"

#include <gtest/gtest.h>

namespace {

constexpr long NOTHING = -1;

const char* KindName(PaneKind kind)
{
    switch (kind) {
    case PaneKind::Reduced:
        return "reduced";
    case PaneKind::Clip:
        return "clip";
    case PaneKind::FullActual:
        return "actual";
    case PaneKind::FullFitted:
        return "fitted";
    }
    return "?";
}

TEST(ViewGeometryTest, EveryPaneTurnsItsPointsIntoRemotePositions)
{
    struct Case {
        PaneKind kind;
        long width, height; // remote screen
        POINT clip;
        SIZE pane; // full-size pane only
        POINT scroll;
        POINT mouse;
        long x, y; // NOTHING: the point forwards nothing
    };
    const SIZE noPane{0, 0}, pane{602, 398}, wide{1280, 720};
    const PaneKind REDUCED = PaneKind::Reduced, CLIP = PaneKind::Clip;
    const PaneKind ACTUAL = PaneKind::FullActual, FITTED = PaneKind::FullFitted;
    const Case cases[] = {
        // Reduced pane: mouse x * 65535 / 320, whatever the screen.
        {REDUCED, 640, 480, {0, 0}, noPane, {0, 0}, {160, 120}, 32767, 32767},
        {REDUCED, 1920, 1080, {0, 0}, noPane, {0, 0}, {319, 239}, 65330, 65261},
        {REDUCED, 640, 480, {0, 0}, noPane, {0, 0}, {320, 10}, NOTHING, NOTHING},
        // Clip pane: (clip + mouse) * 65535 / W; the bottom-right pixel of 1024 x 768.
        {CLIP, 1024, 768, {784, 588}, noPane, {0, 0}, {239, 179}, 65471, 65449},
        {CLIP, 1024, 768, {0, 0}, noPane, {0, 0}, {0, 0}, 0, 0},
        // A screen smaller than the clip region: origin 0, the rest is black margin.
        {CLIP, 200, 150, {0, 0}, noPane, {0, 0}, {199, 149}, 65207, 65098},
        {CLIP, 200, 150, {0, 0}, noPane, {0, 0}, {200, 10}, NOTHING, NOTHING},
        {CLIP, 200, 150, {0, 0}, noPane, {0, 0}, {10, 150}, NOTHING, NOTHING},
        // Full-size pane at actual size, scrolled: (scroll - left + mouse) * 65535 / W.
        {ACTUAL, 1920, 1080, {0, 0}, pane, {100, 50}, {0, 0}, 3413, 3034},
        {ACTUAL, 1920, 1080, {0, 0}, pane, {1318, 682}, {601, 397}, 65500, 65474},
        // A scroll offset past the end is read as the end.
        {ACTUAL, 1920, 1080, {0, 0}, pane, {5000, 5000}, {601, 397}, 65500, 65474},
        // A small screen centred at 101, 49 in a 602 x 398 pane; the margin sends nothing.
        {ACTUAL, 400, 300, {0, 0}, pane, {0, 0}, {101, 49}, 0, 0},
        {ACTUAL, 400, 300, {0, 0}, pane, {0, 0}, {500, 348}, 65371, 65316},
        {ACTUAL, 400, 300, {0, 0}, pane, {0, 0}, {100, 200}, NOTHING, NOTHING},
        {ACTUAL, 400, 300, {0, 0}, pane, {0, 0}, {501, 200}, NOTHING, NOTHING},
        {ACTUAL, 400, 300, {0, 0}, pane, {0, 0}, {300, 349}, NOTHING, NOTHING},
        {ACTUAL, 400, 300, {0, 0}, pane, {0, 0}, {300, 48}, NOTHING, NOTHING},
        // Fitted: mouse x * 65535 / pane width.
        {FITTED, 1920, 1080, {0, 0}, wide, {0, 0}, {640, 360}, 32767, 32767},
        {FITTED, 800, 600, {0, 0}, wide, {0, 0}, {1279, 719}, 65483, 65443},
        // Remote size unknown: nothing from any pane.
        {REDUCED, 0, 480, {0, 0}, noPane, {0, 0}, {160, 120}, NOTHING, NOTHING},
        {CLIP, 640, 0, {0, 0}, noPane, {0, 0}, {10, 10}, NOTHING, NOTHING},
        {ACTUAL, 0, 0, {0, 0}, pane, {0, 0}, {10, 10}, NOTHING, NOTHING},
        {FITTED, 0, 600, {0, 0}, pane, {0, 0}, {10, 10}, NOTHING, NOTHING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << KindName(c.kind) << " " << c.width << "x" << c.height
                                          << " at " << c.mouse.x << "," << c.mouse.y);
        PaneGeometry geometry{c.kind, RemoteView{c.width, c.height, c.clip}, c.pane, c.scroll};
        EventPacket packet{};
        int made = MakePaneMouseRequest(geometry, c.mouse, 0x8001, 0, packet);
        if (c.x == NOTHING) {
            EXPECT_EQ(made, 0);
            continue;
        }
        ASSERT_EQ(made, 1);
        EXPECT_EQ(packet.header.param1, static_cast<uint32_t>(c.x));
        EXPECT_EQ(packet.header.param2, static_cast<uint32_t>(c.y));
    }
}

TEST(ViewGeometryTest, TheClipRegionStaysInsideTheScreenAtEveryCorner)
{
    struct Case {
        long width, height;
        POINT mouse; // in the reduced pane
        POINT clip;
    };
    const Case cases[] = {
        {1024, 768, {0, 0}, {0, 0}},
        {1024, 768, {319, 0}, {784, 0}},
        {1024, 768, {0, 239}, {0, 588}},
        {1024, 768, {319, 239}, {784, 588}},
        {1024, 768, {160, 120}, {392, 294}}, // centred: 512 - 120, 384 - 90
        {640, 480, {319, 239}, {400, 300}},
        // Smaller than the clip region on one side or both: that side stays at 0.
        {200, 150, {319, 239}, {0, 0}},
        {200, 768, {319, 239}, {0, 588}},
        {1024, 150, {319, 239}, {784, 0}},
        {0, 0, {319, 239}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.width << "x" << c.height << " at " << c.mouse.x << "," << c.mouse.y);
        POINT clip = ClampClipOrigin(ClipCentredOn(c.mouse, c.width, c.height), c.width, c.height);
        EXPECT_EQ(clip.x, c.clip.x);
        EXPECT_EQ(clip.y, c.clip.y);
    }

    // The client session keeps the origin clamped, also when the screen shrinks under it.
    TClientImage image;
    image.SetRemoteSize(1024, 768);
    image.SetClipOrigin(POINT{5000, -20});
    EXPECT_EQ(image.GetView().clip.x, 784);
    EXPECT_EQ(image.GetView().clip.y, 0);
    image.SetClipOrigin(POINT{700, 500});
    image.SetRemoteSize(800, 600);
    EXPECT_EQ(image.GetView().clip.x, 560);
    EXPECT_EQ(image.GetView().clip.y, 420);
    image.SetRemoteSize(100, 100);
    EXPECT_EQ(image.GetView().clip.x, 0);
    EXPECT_EQ(image.GetView().clip.y, 0);
}

TEST(ViewGeometryTest, TheOutlineAndTheClipPaneCoverTheClipRegionAndNeverMore)
{
    // The reduced pane's outline.
    RECT corner = ClipOutline(RemoteView{1024, 768, {784, 588}});
    EXPECT_EQ(corner.left, 245);
    EXPECT_EQ(corner.top, 183);
    EXPECT_EQ(corner.right, 320);
    EXPECT_EQ(corner.bottom, 240);
    RECT small = ClipOutline(RemoteView{200, 150, {0, 0}});
    EXPECT_EQ(small.right, 320);
    EXPECT_EQ(small.bottom, 240);
    RECT none = ClipOutline(RemoteView{0, 768, {0, 0}});
    EXPECT_TRUE(IsRectEmpty(&none));

    // What the clip pane reads: the region, only the screen of a small one, and a stale
    // origin held inside the image.
    struct Case {
        RemoteView remote;
        RECT target;
        POINT source;
    };
    const Case cases[] = {
        {{1024, 768, {784, 588}}, {0, 0, 240, 180}, {784, 588}},
        {{200, 150, {0, 0}}, {0, 0, 200, 150}, {0, 0}},
        {{200, 150, {500, 400}}, {0, 0, 1, 1}, {199, 149}},
        {{0, 0, {0, 0}}, {0, 0, 0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        ImageWindow window = ClipPaneWindow(c.remote);
        EXPECT_TRUE(EqualRect(&window.target, &c.target)) << c.remote.width;
        EXPECT_EQ(window.source.x, c.source.x);
        EXPECT_EQ(window.source.y, c.source.y);
        EXPECT_LE(window.source.x + window.target.right, std::max(c.remote.width, 0L));
        EXPECT_LE(window.source.y + window.target.bottom, std::max(c.remote.height, 0L));
    }
}

TEST(ViewGeometryTest, PressesCaptureAndConfineEvenUnsentReleasesAlwaysFree)
{
    const PaneGeometry actual{PaneKind::FullActual, RemoteView{400, 300, {0, 0}}, SIZE{602, 398},
                              POINT{0, 0}};
    const PaneGeometry unknown{PaneKind::Reduced, RemoteView{0, 0, {0, 0}}, SIZE{0, 0},
                               POINT{0, 0}};
    const PaneGeometry reduced{PaneKind::Reduced, RemoteView{640, 480, {0, 0}}, SIZE{0, 0},
                               POINT{0, 0}};
    const RECT image{101, 49, 501, 349};
    const RECT reducedPane{0, 0, 320, 240};
    struct Case {
        const PaneGeometry* geometry;
        UINT message;
        POINT point;
        bool sendAllowed;
        int send;
        PaneCapture capture;
        const RECT* confine;
        uint32_t flags;
    };
    const Case cases[] = {
        {&actual, WM_LBUTTONDOWN, {200, 200}, true, 1, PaneCapture::Take, &image, 0x8002},
        {&actual, WM_RBUTTONDOWN, {200, 200}, false, 0, PaneCapture::Take, &image, 0x8008},
        {&actual, WM_MBUTTONDOWN, {200, 200}, true, 1, PaneCapture::Take, &image, 0x8020},
        {&actual, WM_LBUTTONDOWN, {50, 200}, true, 0, PaneCapture::Keep, nullptr, 0},
        {&actual, WM_LBUTTONUP, {200, 200}, true, 1, PaneCapture::Release, nullptr, 0x8004},
        {&actual, WM_RBUTTONUP, {50, 200}, true, 0, PaneCapture::Release, nullptr, 0},
        {&actual, WM_MOUSEMOVE, {200, 200}, true, 1, PaneCapture::Keep, nullptr, 0x8001},
        {&reduced, WM_LBUTTONDOWN, {10, 10}, false, 0, PaneCapture::Take, &reducedPane, 0x8002},
        {&reduced, WM_MBUTTONUP, {10, 10}, true, 1, PaneCapture::Release, nullptr, 0x8040},
        {&unknown, WM_LBUTTONDOWN, {10, 10}, true, 0, PaneCapture::Keep, nullptr, 0},
        {&unknown, WM_LBUTTONUP, {10, 10}, true, 0, PaneCapture::Release, nullptr, 0},
        {&reduced, WM_KEYDOWN, {10, 10}, true, 0, PaneCapture::Keep, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.message << std::dec << " at "
                                          << c.point.x << "," << c.point.y);
        PaneMouseAction action = DecidePaneMouse(*c.geometry, c.message, 0, c.point, c.sendAllowed);
        EXPECT_EQ(action.send, c.send);
        EXPECT_EQ(action.capture, c.capture);
        if (c.confine) {
            EXPECT_TRUE(EqualRect(&action.confine, c.confine));
        }
        if (c.flags) {
            EXPECT_EQ(action.packet.payload[0], c.flags);
        }
    }

    // The wheel carries its delta, signed; towards the user is negative.
    PaneMouseAction wheel = DecidePaneMouse(reduced, WM_MOUSEWHEEL,
                                            MAKEWPARAM(0, static_cast<WORD>(-120)), {10, 10}, true);
    EXPECT_EQ(wheel.send, 1);
    EXPECT_EQ(wheel.packet.payload[0], 0x8800u);
    EXPECT_EQ(wheel.packet.payload[1], 0xFFFFFF88u);
}

TEST(ViewGeometryTest, ScrollingMovesByLinePageAndReleasedThumbWithinTheImage)
{
    struct Case {
        long offset;
        int code;
        long thumb;
        long image, pane;
        long result;
    };
    const Case cases[] = {
        {10, SB_LINEDOWN, 0, 1080, 398, 11},
        {10, SB_LINEUP, 0, 1080, 398, 9},
        {0, SB_LINEUP, 0, 1080, 398, 0},
        {682, SB_LINEDOWN, 0, 1080, 398, 682},
        {10, SB_PAGEDOWN, 0, 1080, 398, 78}, // (1080 - 398) / 10 = 68
        {10, SB_PAGEUP, 0, 1080, 398, 0},
        {10, SB_THUMBPOSITION, 500, 1080, 398, 500},
        {10, SB_THUMBPOSITION, 900, 1080, 398, 682},
        {10, SB_THUMBTRACK, 500, 1080, 398, 10}, // tracking is not followed
        {0, SB_LINEDOWN, 0, 300, 398, 0},        // the image fits: nothing moves
        {0, SB_THUMBPOSITION, 50, 398, 398, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollOffset(c.offset, c.code, c.thumb, c.image, c.pane), c.result)
            << c.code << " from " << c.offset;

    struct RangeCase {
        long image, pane, offset;
        bool shown;
        int max;
        UINT page;
        long result;
    };
    const RangeCase ranges[] = {
        {1080, 398, 100, true, 1079, 398, 100},
        {1080, 398, 900, true, 1079, 398, 682}, // the pane grew: the offset follows
        {300, 398, 50, true, 299, 300, 0},      // the image fits: one page
        {1080, 398, 100, false, 0, 1, 0},       // fitted or no image: reset
        {0, 398, 100, true, 0, 1, 0},
    };
    for (const RangeCase& r : ranges) {
        ScrollRange range = AxisScrollRange(r.image, r.pane, r.offset, r.shown);
        EXPECT_EQ(range.max, r.max) << r.image << " in " << r.pane;
        EXPECT_EQ(range.page, r.page) << r.image << " in " << r.pane;
        EXPECT_EQ(range.offset, r.result) << r.image << " in " << r.pane;
    }
}

TEST(ViewGeometryTest, TheFullSizeViewLaysOutItsChildrenAndSizesByItsEdges)
{
    FullViewLayout layout = LayOutFullView(640, 480);
    const RECT pane{12, 36, 614, 434}, vertical{618, 35, 628, 448}, horizontal{11, 438, 615, 448};
    EXPECT_TRUE(EqualRect(&layout.pane, &pane));
    EXPECT_TRUE(EqualRect(&layout.vertical, &vertical));
    EXPECT_TRUE(EqualRect(&layout.horizontal, &horizontal));
    EXPECT_EQ(layout.strip.x, 325);
    EXPECT_EQ(layout.strip.y, 461);
    // A damaged saved size leaves empty children, never inverted ones.
    FullViewLayout tiny = LayOutFullView(5, 5);
    EXPECT_GE(tiny.pane.right, tiny.pane.left);
    EXPECT_GE(tiny.horizontal.bottom, tiny.horizontal.top);

    const SIZE window{640, 480};
    struct Case {
        POINT point;
        bool maximised;
        LRESULT hit;
    };
    const Case cases[] = {
        {{0, 0}, false, HTTOPLEFT},
        {{639, 0}, false, HTTOPRIGHT},
        {{2, 479}, false, HTBOTTOMLEFT},
        {{637, 477}, false, HTBOTTOMRIGHT},
        {{1, 200}, false, HTLEFT},
        {{638, 200}, false, HTRIGHT},
        {{300, 2}, false, HTTOP},
        {{300, 478}, false, HTBOTTOM},
        {{40, 3}, false, HTCAPTION},
        {{596, 23}, false, HTCAPTION},
        {{39, 10}, false, 0},
        {{597, 10}, false, 0},
        {{300, 24}, false, 0},
        {{300, 200}, false, 0},
        {{0, 0}, true, 0},
        {{300, 2}, true, 0}, // maximised: no borders
        {{300, 10}, true, HTCAPTION},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FullViewHitTest(c.point, window, c.maximised), c.hit)
            << c.point.x << "," << c.point.y << (c.maximised ? " maximised" : "");
}

TEST(ViewGeometryTest, AddressTextsAreDottedDecimalAndTheHostOrderPort)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(5483);
    address.sin_addr.s_addr = htonl(0xC0A80114); // 192.168.1.20
    AddressTexts texts = FormatAddress(address);
    EXPECT_STREQ(texts.address, "192.168.1.20");
    EXPECT_STREQ(texts.port, "5483");
    address.sin_port = htons(65535);
    address.sin_addr.s_addr = htonl(0xFFFFFFFF);
    texts = FormatAddress(address);
    EXPECT_STREQ(texts.address, "255.255.255.255");
    EXPECT_STREQ(texts.port, "65535");
}

} // namespace
