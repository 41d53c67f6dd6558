// TFileServer: a TFindDIRECTORY stamped as a tree's root.
#include <Ledgerkit/TFileServer.h>

namespace {
constexpr unsigned long ClassFileServer = 0x01000013;
} // namespace

TFileServer::TFileServer() { m_ClassType = ClassFileServer; }

TFileServer::TFileServer(const TFileName& root) : TFindDIRECTORY(root)
{
    m_ClassType = ClassFileServer;
}
