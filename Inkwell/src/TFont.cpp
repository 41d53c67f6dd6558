// TFont: the stored LOGFONTA and its re-creation on change.
#include <Inkwell/TFont.h>

#include <cstring>

namespace {
// The Japanese Gothic face, in the system's code page.
const char kDefaultFace[] = "ＭＳ ゴシック";

template <class T, class V> bool Store(T& field, V value)
{
    T v = static_cast<T>(value);
    if (field == v) return false;
    field = v;
    return true;
}
} // namespace

TFont::TFont()
{
    m_ClassType = INKWELL_CLASS_FONT;
    _Clear();
}

void TFont::_Clear()
{
    std::memset(&m_LogFont, 0, sizeof m_LogFont);
    std::memcpy(m_LogFont.lfFaceName, kDefaultFace, sizeof kDefaultFace);
}

int TFont::CreateFontA() { return _SetHandle(::CreateFontIndirectA(&m_LogFont)); }

int TFont::Changed(bool changed) { return (changed && m_hObject) ? CreateFontA() : 1; }

int TFont::SetSize(long width, long height, long weight)
{
    bool changed = Store(m_LogFont.lfWidth, width);
    changed |= Store(m_LogFont.lfHeight, height);
    changed |= Store(m_LogFont.lfWeight, weight);
    return Changed(changed);
}

int TFont::SetAngle(long escapement, long orientation)
{
    bool changed = Store(m_LogFont.lfEscapement, escapement);
    changed |= Store(m_LogFont.lfOrientation, orientation);
    return Changed(changed);
}

int TFont::SetOption(int italic, int underline, int strikeOut)
{
    bool changed = Store(m_LogFont.lfItalic, italic);
    changed |= Store(m_LogFont.lfUnderline, underline);
    changed |= Store(m_LogFont.lfStrikeOut, strikeOut);
    return Changed(changed);
}

int TFont::SetQuality(BYTE outPrecision, BYTE clipPrecision, BYTE quality)
{
    bool changed = Store(m_LogFont.lfOutPrecision, outPrecision);
    changed |= Store(m_LogFont.lfClipPrecision, clipPrecision);
    changed |= Store(m_LogFont.lfQuality, quality);
    return Changed(changed);
}

int TFont::SetCharSet(BYTE charSet, BYTE pitchAndFamily, const char* faceName)
{
    bool changed = Store(m_LogFont.lfCharSet, charSet);
    changed |= Store(m_LogFont.lfPitchAndFamily, pitchAndFamily);
    char face[LF_FACESIZE] = {};
    if (faceName) std::strncpy(face, faceName, LF_FACESIZE - 1);
    if (std::memcmp(face, m_LogFont.lfFaceName, LF_FACESIZE) != 0) {
        std::memcpy(m_LogFont.lfFaceName, face, LF_FACESIZE);
        changed = true;
    }
    return Changed(changed);
}
