// Root of a directory tree, with the process's current directory at hand.
#pragma once

#include <Ledgerkit/TFindDIRECTORY.h>

// GetCurrentDirectoryA and SetCurrentDirectoryA are those of TFileName.
class LEDGERKIT_API TFileServer : public TFindDIRECTORY {
public:
    TFileServer();
    // A root for the directory at that full path.
    explicit TFileServer(const TFileName& root);
};
