// Window class "FernholdWnd".
#include "ui/TFernWndClass.h"

#include <Panekind/TWndCore.h>

TFernWndClass* g_lpWndClass = nullptr;

namespace {

LRESULT DefaultUserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(core->GetHandle(), message, wParam, lParam);
}

} // namespace

TFernWndClass::TFernWndClass()
{
    m_WndClass.lpszClassName = "FernholdWnd";
    m_WndClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    SetDefUserProc(DefaultUserProc);
}
