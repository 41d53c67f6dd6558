// A font whose attribute changes re-create it in every context it is selected into.
#pragma once

#include <Inkwell/TGdiObject.h>

// Setters store their values; once a handle exists, a setter that changes a
// value re-creates the font at once (its result is CreateFontA's), otherwise it
// returns 1. So callers set everything first and call CreateFontA once.
class INKWELL_API TFont : public TGdiObject {
public:
    TFont();

    // Replaces the handle by CreateFontIndirectA of the stored LOGFONTA; 1 / 0.
    int CreateFontA();
    int SetSize(long width, long height, long weight);
    int SetAngle(long escapement, long orientation);
    int SetOption(int italic, int underline, int strikeOut);
    int SetQuality(BYTE outPrecision, BYTE clipPrecision, BYTE quality);
    // The face name is cut to what LOGFONTA holds (31 bytes and the terminator).
    int SetCharSet(BYTE charSet, BYTE pitchAndFamily, const char* faceName);

    long GetHeight() const { return m_LogFont.lfHeight; }
    long GetWidth() const { return m_LogFont.lfWidth; }
    long GetEscapement() const { return m_LogFont.lfEscapement; }
    long GetOrientation() const { return m_LogFont.lfOrientation; }
    long GetWeight() const { return m_LogFont.lfWeight; }
    BYTE GetItalic() const { return m_LogFont.lfItalic; }
    BYTE GetUnderline() const { return m_LogFont.lfUnderline; }
    BYTE GetStrikeOut() const { return m_LogFont.lfStrikeOut; }
    BYTE GetCharSet() const { return m_LogFont.lfCharSet; }
    BYTE GetOutputPrecision() const { return m_LogFont.lfOutPrecision; }
    BYTE GetClipPrecision() const { return m_LogFont.lfClipPrecision; }
    BYTE GetQuality() const { return m_LogFont.lfQuality; }
    BYTE GetPitchAndFamily() const { return m_LogFont.lfPitchAndFamily; }
    const char* GetFaceName() const { return m_LogFont.lfFaceName; }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

protected:
    // All numeric fields 0, the Japanese Gothic face.
    void _Clear();

private:
    // Re-creates the font when a handle exists and something changed.
    int Changed(bool changed);

    LOGFONTA m_LogFont;
};
