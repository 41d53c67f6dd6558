// Panekind: the window class record and its registration.
#include <Panekind/Panekind.h>

Panekind::Panekind() : m_WndClass(), m_lpDefUserProc(nullptr)
{
    m_ClassType = 0x03000010ul;
    _InitPanekind();
}

void Panekind::_InitPanekind()
{
    m_WndClass.cbSize = sizeof(WNDCLASSEXA);
    m_WndClass.style = 0;
    m_WndClass.lpfnWndProc = &TWinApp::_FirstWndProc;
    m_WndClass.cbClsExtra = 0;
    m_WndClass.cbWndExtra = 0;
    m_WndClass.hInstance = TobjectBase::m_hInst;
    m_WndClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    m_WndClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    m_WndClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    m_WndClass.lpszMenuName = nullptr;
    m_WndClass.lpszClassName = "TClassWindow";
    m_WndClass.hIconSm = nullptr;
}

int Panekind::RegisterClassExA() { return ::RegisterClassExA(&m_WndClass); }
