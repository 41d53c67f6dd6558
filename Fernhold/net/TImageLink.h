// The client's image link: screen size and frame requests to the image service.
#pragma once

#include "net/TClientImage.h"
#include "net/TClientLink.h"

// Largest screen side the program supports. A screen size reply outside 1 to this
// is a broken exchange: no image is made for it.
constexpr unsigned long MAX_SCREEN_SIDE = 8192;
// Largest frame stream a link accepts: the compressor's worst case for a 16-bit
// image of the largest screen. A longer announcement is a broken exchange and is
// never allocated.
constexpr unsigned long MAX_FRAME_STREAM =
    MAX_SCREEN_SIDE * 2 * MAX_SCREEN_SIDE + MAX_SCREEN_SIDE * 2 * MAX_SCREEN_SIDE / 19 + 17;

// Made by the client engine at connect; work arrives as TM_GET_SCREEN_SIZE and
// TM_GET_FRAME thread messages. A broken exchange posts TM_LINK_LOST to the client
// thread and ends the link thread.
class TImageLink : public TClientLink {
public:
    TImageLink(const TFernSettings& settings, TClientImage& image, DWORD clientThreadId);
    ~TImageLink() override;

    void Handle(const MSG& message) override;

    uint32_t GetLastFrameNumber() const { return m_LastFrame.load(); }

private:
    void RequestScreenSize();
    void RequestFrame();
    void LinkLost();

    TClientImage& m_Image;
    DWORD m_ClientThreadId;
    std::atomic<uint32_t> m_LastFrame{0};
    TMemory m_Received;
};
