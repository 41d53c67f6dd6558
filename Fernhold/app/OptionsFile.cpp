// Options file reader and writer; every length is checked against the file's size.
#include "app/OptionsFile.h"

#include "ui/ConnectionState.h"
#include "net/ReplaceFile.h"

#include <Keelwork/TMemory.h>
#include <Ledgerkit/TFile.h>

#include <cstring>

namespace {
constexpr char APP_TAG[4] = {'F', 'N', 'A', 'P'};
constexpr char STRING_TAG[4] = {'F', 'N', 'S', 'T'};
constexpr uint32_t APP_VERSION = 54;
constexpr uint32_t OLDEST_APP_VERSION = 50;
constexpr uint32_t STRING_VERSION = 1;

// Reads whole fields only: a field that runs past the end reads nothing.
struct ImageReader {
    const unsigned char* data;
    unsigned long size;
    unsigned long pos = 0;

    bool Take(void* out, unsigned long n)
    {
        if (n > size - pos) return false;
        memcpy(out, data + pos, n);
        pos += n;
        return true;
    }
};

template <typename T> void Put(TMemory& image, T value) { image._Write(&value, sizeof(value)); }

} // namespace

void ReadOptionsFile(const char* path, TFernSettings& settings)
{
    TFile file;
    if (!file.OpenReadFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) return;
    const TMemory& image = file;
    ImageReader in{static_cast<unsigned char*>(image), image.GetSize()};

    char tag[4];
    uint32_t version = 0;
    if (!in.Take(tag, 4) || memcmp(tag, APP_TAG, 4) != 0 || !in.Take(&version, 4) ||
        version < OLDEST_APP_VERSION)
        return;

    uint32_t display, timer, searches, columns, rows, serverFlags, searchFlags = 1;
    uint16_t port;
    int32_t mainX, mainY;
    RECT view;
    bool complete = in.Take(&display, 4) && in.Take(&timer, 4) && in.Take(&searches, 4) &&
                    in.Take(&columns, 4) && in.Take(&rows, 4) && in.Take(&port, 2) &&
                    in.Take(&serverFlags, 4) && in.Take(&mainX, 4) && in.Take(&mainY, 4) &&
                    in.Take(&view, sizeof(view)) &&
                    (version == OLDEST_APP_VERSION || in.Take(&searchFlags, 4));
    if (!complete) return;
    // The connection state always starts idle, whatever state was saved.
    settings.displayFlags = WithConnectionState(display, CONNECTION_IDLE);
    settings.viewTimerInterval = timer;
    settings.simultaneousSearches = searches;
    settings.gridColumns = columns;
    settings.gridRows = rows;
    settings.port = port;
    settings.serverFlags = serverFlags;
    settings.mainX = mainX;
    settings.mainY = mainY;
    settings.viewWindowRect = view;
    // Version 50 has no search flags: it loads as 1, whatever was set before.
    settings.searchFlags = searchFlags;

    uint32_t stringVersion = 0, n = 0;
    if (!in.Take(tag, 4) || memcmp(tag, STRING_TAG, 4) != 0 || !in.Take(&stringVersion, 4) ||
        stringVersion != STRING_VERSION || !in.Take(&n, 4) || n == 0 || n > in.size - in.pos)
        return;
    TString name;
    unsigned char* text = name.SetTextLength(n - 1, ' ', TSTR_POS_LEFT);
    if (text) {
        memcpy(text, in.data + in.pos, n - 1);
        settings.defaultListFile = name;
    }
}

int WriteOptionsFile(const char* path, const TFernSettings& settings)
{
    TMemory image;
    image._Write(APP_TAG, 4);
    Put<uint32_t>(image, APP_VERSION);
    Put<uint32_t>(image, settings.displayFlags);
    Put<uint32_t>(image, settings.viewTimerInterval);
    Put<uint32_t>(image, settings.simultaneousSearches);
    Put<uint32_t>(image, settings.gridColumns);
    Put<uint32_t>(image, settings.gridRows);
    Put<uint16_t>(image, settings.port);
    Put<uint32_t>(image, settings.serverFlags);
    Put<int32_t>(image, settings.mainX);
    Put<int32_t>(image, settings.mainY);
    Put<RECT>(image, settings.viewWindowRect);
    Put<uint32_t>(image, settings.searchFlags);
    image._Write(STRING_TAG, 4);
    Put<uint32_t>(image, STRING_VERSION);
    uint32_t n = settings.defaultListFile.Len() + 1;
    Put<uint32_t>(image, n);
    const char* name = settings.defaultListFile;
    image._Write(name ? name : "", n - 1);
    image._Write("", 1);
    if (image.GetSize() != 74 + n) return 0; // the image could not grow
    return ReplaceFileContents(path, static_cast<unsigned char*>(image), image.GetSize());
}
