#pragma once
// A control with RTF helpers for the editor tests.
#include "editor/richedit.h"

#include <QByteArray>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace vlr::test {

// An RTF document with one font, a colour table (1 red, 2 blue) and the body.
inline QByteArray rtfDoc(const char* body) {
    return QByteArray("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}"
                      "{\\f1\\fmodern\\fcharset204 Courier New;}}"
                      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                      "\\viewkind4\\uc1\\pard\\f0\\fs20 ") +
           body + "\\par\n}";
}

// The same without the closing paragraph mark: inserted, it adds no paragraph.
inline QByteArray rtfFragment(const char* body) {
    QByteArray doc = rtfDoc(body);
    doc.replace("\\par\n}", "}");
    return doc;
}

// The control with its drop handler reachable: a synthetic drop event sent
// through the application is not delivered without a drag in progress.
class TestEdit : public TMyRichEdit {
public:
    using TMyCustomRichEdit::dragMoveEvent;
    using TMyCustomRichEdit::dropEvent;
};

class EditorTest : public ::testing::Test {
public:
    EditorTest() {
        edit.resize(400, 300);
        edit.SetUndoLimit(100);
    }

    void load(const char* body) { edit.LoadFromBytes(rtfDoc(body)); }
    void select(int start, int end) { edit.SetSelection(start, end, false); }
    void type(const QString& text) {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&edit, k, mods); }

    TestEdit edit;
};

} // namespace vlr::test
