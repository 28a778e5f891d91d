#pragma once
// Character attributes of the control in one of three views: the selection,
// the word at the caret, or the default (text typed into an empty control).
// Reading gives what is common to the whole range: a property that differs
// within it reads as its neutral value (empty name, size 0, automatic
// colours, no underline, normal position, charset 1, default pitch, language
// 0, flags off; style bits only where every character has them).
// Writing changes only the named property and leaves all others as they are.
#include "editor/richedit_types.h"

#include <QString>

class QFont;

namespace vlr {

class TMyCustomRichEdit;

class TRxTextAttributes {
public:
    TRxTextAttributes(TMyCustomRichEdit* owner, TAttributeType type) : m_owner(owner), m_type(type) {}

    TAttributeType AttributeType() const { return m_type; }

    QString Name() const;
    void SetName(const QString& name); // cut to 31 characters
    int Size() const;                  // whole points
    void SetSize(int points);
    int Height() const; // pixels at the screen resolution
    int Style() const;  // TFontStyleBit set
    void SetStyle(int style);
    quint32 Color() const; // automatic reads as kColorWindowText
    void SetColor(quint32 color);
    quint32 BackColor() const; // automatic reads as kColorWindow
    void SetBackColor(quint32 color);
    int Charset() const;
    void SetCharset(int charset);
    TFontPitch Pitch() const;
    void SetPitch(TFontPitch pitch);
    // 0 none, 1 single, 2 words, 3 double, 4 dotted, 5 dash, 6 dash-dot,
    // 7 dash-dot-dot, 8 wave, 9 thick, 10 hairline, 11 double wave, 12 heavy
    // wave, 13 long dash, 14 thick dash, 15 thick dash-dot, 16 thick
    // dash-dot-dot, 17 thick dotted, 18 thick long dash.
    int UnderlineType() const;
    void SetUnderlineType(int kind); // a non-zero kind also turns underline on
    TSubscriptStyle SubscriptStyle() const;
    void SetSubscriptStyle(TSubscriptStyle style);
    bool Protected() const;
    void SetProtected(bool on);
    bool Disabled() const;
    void SetDisabled(bool on);
    bool Link() const; // fields and recognised URLs
    int Language() const;
    void SetLanguage(int lang);

    // Name, size, style, weight, pitch, colour and charset in one write.
    void Assign(const QFont& font, quint32 color = kColorWindowText, int charset = 1);
    // The attributes as a font (name, size, style, weight, pitch).
    QFont ToFont() const;

private:
    TMyCustomRichEdit* m_owner;
    TAttributeType m_type;
};

} // namespace vlr
