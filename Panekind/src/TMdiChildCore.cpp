// TMdiChildCore: pending MDI-child style and the MDI child's default procedure.
#include <Panekind/TMdiChildCore.h>

namespace {
constexpr unsigned long MdiCoreType = 0x03000002ul;
} // namespace

TMdiChildCore::TMdiChildCore()
{
    m_ClassType = MdiCoreType;
    if (m_lpBaseData) {
        m_lpBaseData->m_Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_OVERLAPPEDWINDOW;
        m_lpBaseData->m_ExStyle = WS_EX_MDICHILD;
    }
}

TMdiChildCore::TMdiChildCore(const TMdiChildCore& other) : TobjectBase(), TWndCore(other)
{
    m_ClassType = MdiCoreType;
}

LRESULT TMdiChildCore::DefMessageProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}
